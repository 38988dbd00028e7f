#!/usr/bin/env python3
"""Draws the program's two images as 16-colour files, with no imaging library.

morvane.ico: the application icon, 32x32 and 16x16, 4 bits per pixel.
up.bmp:      the "Up" button image, 16x16, 4 bits per pixel, a folder with an
             upward arrow on pure magenta (the dialog maps magenta to the
             menu colour when it loads the bitmap).

Usage: make_images.py OUTPUT_FOLDER
"""

import struct
import sys
from pathlib import Path

# The standard 16-colour palette as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# One letter per palette index in the pixel drawings below; '.' is the
# background (magenta in the bitmap, transparent in the icon).
LETTERS = {
    "K": 0, "M": 1, "g": 2, "O": 3, "N": 4, "P": 5, "T": 6, "S": 7,
    "D": 8, "R": 9, "G": 10, "Y": 11, "B": 12, ".": 13, "C": 14, "W": 15,
}
BACKGROUND = 13

UP_FOLDER = [
    "................",
    "................",
    "..KKKK..........",
    ".KWYWYK.........",
    "KKKKKKKKKKKKKK..",
    "KWYYYYYKYYYYYOK.",
    "KYYYYYKKKYYYYOK.",
    "KYYYYKKKKKYYYOK.",
    "KYYYKKKKKKKYYOK.",
    "KYYYYYYKYYYYYOK.",
    "KYYYYYYKYYYYYOK.",
    "KYYYYYYKKKKYYOK.",
    "KYYYYYYYYYYYYOK.",
    "KOOOOOOOOOOOOOK.",
    "KKKKKKKKKKKKKKK.",
    "................",
]

# The small icon: a parchment map with a river, a wood and a red banner.
ICON_16 = [
    "..........K.....",
    "..........KRR...",
    "..........KRRR..",
    "..........KRR...",
    "KKKKKKKKKKKKKKKK",
    "KWWWWWWWWWKWBWWK",
    "KWYYGGYYYYKBYYWK",
    "KWYGGgGYYYKBYYWK",
    "KWYYGGYYYYBBYYWK",
    "KWYYYYYYYBBYYYWK",
    "KWYYYYYYBBYYgYWK",
    "KWYYYYYBBYYggGWK",
    "KWYYYYBBYYYYgYWK",
    "KWWWWBBWWWWWWWWK",
    "KKKKKKKKKKKKKKKK",
    "................",
]


def parse(drawing):
    return [[LETTERS[c] for c in row] for row in drawing]


def icon_32():
    """The large icon, drawn from shapes: the same map, with more detail."""
    size = 32
    px = [[BACKGROUND] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    # Parchment with a black frame and a white margin.
    fill(0, 8, 31, 29, 0)
    fill(1, 9, 30, 28, 15)
    fill(2, 10, 29, 27, 11)
    # A river from the bottom left to the top right, two pixels wide.
    for step in range(0, 26):
        x = 4 + step
        y = 27 - (step * 17) // 25
        if 2 <= x <= 29:
            px[y][x] = 12
            if x + 1 <= 29:
                px[y][x + 1] = 12
    # Woods: small round patches of green with a dark centre.
    for cx, cy in ((8, 14), (12, 18), (22, 23), (25, 19)):
        for y in range(cy - 2, cy + 3):
            for x in range(cx - 2, cx + 3):
                if (x - cx) ** 2 + (y - cy) ** 2 <= 5 and px[y][x] == 11:
                    px[y][x] = 10
        px[cy][cx] = 2
    # Hills: olive humps.
    for cx, cy in ((17, 13), (21, 12)):
        for x in range(cx - 2, cx + 3):
            px[cy][x] = 3
        px[cy - 1][cx] = 3
    # A banner on a pole above the map.
    fill(20, 0, 20, 9, 0)
    fill(21, 1, 27, 5, 9)
    fill(21, 1, 21, 5, 1)
    fill(22, 6, 26, 6, 1)
    return px


def pack_4bit_rows(pixels):
    """Bottom-up rows of 4-bit indices, each padded to 4 bytes."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for i in range(0, len(row), 2):
            high = row[i]
            low = row[i + 1] if i + 1 < len(row) else 0
            line.append((high << 4) | low)
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def pack_mask_rows(pixels):
    """Bottom-up 1-bit AND mask: 1 where the background shows through."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for i in range(0, len(row), 8):
            byte = 0
            for bit, colour in enumerate(row[i:i + 8]):
                if colour == BACKGROUND:
                    byte |= 0x80 >> bit
            line.append(byte)
        while len(line) % 4:
            line.append(0)
        out += line
    return bytes(out)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def icon_image(pixels):
    """One icon image: header (double height), palette, colour bits, mask."""
    size = len(pixels)
    # The icon's own background is black under a set mask bit.
    colours = [[0 if c == BACKGROUND else c for c in row] for row in pixels]
    xor = pack_4bit_rows(colours)
    mask = pack_mask_rows(pixels)
    return info_header(size, size * 2, len(xor) + len(mask)) + palette_bytes() + xor + mask


def ico_file(images):
    header = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    blobs = b""
    offset = 6 + 16 * len(images)
    for pixels in images:
        blob = icon_image(pixels)
        size = len(pixels)
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return header + entries + blobs


def bmp_file(pixels):
    bits = pack_4bit_rows(pixels)
    info = info_header(len(pixels[0]), len(pixels), len(bits)) + palette_bytes()
    offset = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset) + info + bits


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_images.py OUTPUT_FOLDER")
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for drawing in (UP_FOLDER, ICON_16):
        assert len(drawing) == 16 and all(len(row) == 16 for row in drawing)
    (folder / "morvane.ico").write_bytes(ico_file([icon_32(), parse(ICON_16)]))
    (folder / "up.bmp").write_bytes(bmp_file(parse(UP_FOLDER)))


if __name__ == "__main__":
    main()
