// Each pixel of the picture looks up the one tile under its centre, so the
// cost follows the picture's size, not the map's, and every write lands on a
// pixel the loops stand on.
#include "minimap/minimap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "library/player_colours.h"
#include "minimap/terrain_colours.h"

namespace morvane {
namespace {

constexpr uint8_t kOpaque = 255;
constexpr Rgb kOutline = {0, 0, 0};

// The map's size in tiles, and the tiles the entry holds of it.
struct MapTiles {
  const TerrainTiles& tiles;
  int64_t width;
  int64_t height;

  bool holds(int64_t x, int64_t y) const {
    return x < width && y < height && y * width + x < static_cast<int64_t>(TerrainTiles::kSize);
  }
  std::size_t index(int64_t x, int64_t y) const { return static_cast<std::size_t>(y * width + x); }
};

Rgb tileColour(const MapTiles& map, int64_t x, int64_t y) {
  if (!map.holds(x, y)) return kUnknownTerrainColour;
  Slope slope = Slope::kFlat;
  if (map.holds(x + 1, y + 1)) {
    const uint8_t here = map.tiles.elevation(map.index(x, y));
    const uint8_t next = map.tiles.elevation(map.index(x + 1, y + 1));
    if (next < here) slope = Slope::kDown;
    if (next > here) slope = Slope::kUp;
  }
  return terrainColour(map.tiles[map.index(x, y)], slope);
}

void put(Picture& picture, int32_t px, int32_t py, Rgb colour) {
  const std::size_t at = (static_cast<std::size_t>(py) * static_cast<std::size_t>(picture.width) +
                          static_cast<std::size_t>(px)) *
                         4;
  picture.rgba[at] = colour.red;
  picture.rgba[at + 1] = colour.green;
  picture.rgba[at + 2] = colour.blue;
  picture.rgba[at + 3] = kOpaque;
}

// u along x, v along y, each 0..1 over the map; a and b the picture's
// position in half widths and half heights.
struct Diamond {
  double halfWidth;
  double halfHeight;

  double u(double a, double b) const { return (a - b + 1) / 2; }
  double v(double a, double b) const { return (a + b - 1) / 2; }
  double px(double u, double v) const { return (u + v) * halfWidth; }
  double py(double u, double v) const { return (1 - u + v) * halfHeight; }
};

void drawTerrain(const MapTiles& map, const Diamond& diamond, Picture& picture) {
  for (int32_t py = 0; py < picture.height; ++py) {
    const double b = (py + 0.5) / diamond.halfHeight;
    for (int32_t px = 0; px < picture.width; ++px) {
      const double a = (px + 0.5) / diamond.halfWidth;
      const double u = diamond.u(a, b);
      const double v = diamond.v(a, b);
      if (u < 0 || u >= 1 || v < 0 || v >= 1) continue;
      // u < 1, so the products stay below the map's size.
      const auto x = static_cast<int64_t>(u * static_cast<double>(map.width));
      const auto y = static_cast<int64_t>(v * static_cast<double>(map.height));
      put(picture, px, py, tileColour(map, x, y));
    }
  }
}

// A square of 2 * half + 1 pixels around the pixel under centre, outlined,
// cut to the picture. A centre far outside (or not a number) draws nothing.
void drawSquare(Picture& picture, double centreX, double centreY, int32_t half, Rgb colour) {
  const auto inReach = [half](double centre, int32_t extent) {
    return centre >= -half && centre < static_cast<double>(extent) + half;  // false for NaN
  };
  if (!inReach(centreX, picture.width) || !inReach(centreY, picture.height)) return;
  const auto cx = static_cast<int32_t>(std::floor(centreX));
  const auto cy = static_cast<int32_t>(std::floor(centreY));
  for (int32_t py = std::max(cy - half, 0); py <= std::min(cy + half, picture.height - 1); ++py) {
    for (int32_t px = std::max(cx - half, 0); px <= std::min(cx + half, picture.width - 1); ++px) {
      const bool edge = px == cx - half || px == cx + half || py == cy - half || py == cy + half;
      put(picture, px, py, edge ? kOutline : colour);
    }
  }
}

}  // namespace

Picture drawMinimap(const GameEntry& entry, int32_t size) {
  size = std::clamp(size, kMinimapMinSize, kMinimapMaxSize);
  Picture picture;
  picture.width = size;
  picture.height = size / 2;
  picture.rgba.assign(static_cast<std::size_t>(picture.width) * picture.height * 4, 0);
  if (entry.mapWidth <= 0 || entry.mapHeight <= 0) return picture;

  const MapTiles map{entry.mapTiles, entry.mapWidth, entry.mapHeight};
  const Diamond diamond{picture.width / 2.0, picture.height / 2.0};
  drawTerrain(map, diamond, picture);

  const int32_t half = std::max(2, size / 64);
  for (std::size_t number = 1; number < PlayerSlots::kCount; ++number) {
    const PlayerSlot& slot = entry.slots[number];
    if (!slot.start) continue;
    const double u = slot.start->x / static_cast<double>(map.width);
    const double v = slot.start->y / static_cast<double>(map.height);
    drawSquare(picture, diamond.px(u, v), diamond.py(u, v), half,
               slotColour(slotColourIndexOf(slot.colourId)));
  }
  return picture;
}

}  // namespace morvane
