// PNG files of pictures: a decoder that is not the encoder reads back the
// same pixels, and every chunk carries the checksum PNG readers verify.
#include "minimap/png_image.h"

#include <gtest/gtest.h>
#include <zlib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#include <stb_image.h>

#include <string>

namespace morvane {
namespace {

uint32_t bigEndian(const std::vector<uint8_t>& bytes, std::size_t at) {
  return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
         static_cast<uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

TEST(PngImageTest, DecodesToTheSamePixelsWithGoodChunkChecksums) {
  Picture picture;
  picture.width = 37;
  picture.height = 18;
  for (int i = 0; i < picture.width * picture.height * 4; ++i)
    picture.rgba.push_back(static_cast<uint8_t>((i * 7 + i / 37) % 256));
  const std::vector<uint8_t> png = encodePng(picture);
  ASSERT_GT(png.size(), 8u);

  int width = 0, height = 0, channels = 0;
  stbi_uc* decoded = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width,
                                           &height, &channels, 4);
  ASSERT_NE(decoded, nullptr) << stbi_failure_reason();
  EXPECT_EQ(width, 37);
  EXPECT_EQ(height, 18);
  EXPECT_EQ(channels, 4);
  EXPECT_TRUE(std::equal(picture.rgba.begin(), picture.rgba.end(), decoded));
  stbi_image_free(decoded);

  std::vector<std::string> chunks;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const uint32_t length = bigEndian(png, at);
    ASSERT_LE(at + 12 + length, png.size());
    chunks.emplace_back(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                        png.begin() + static_cast<std::ptrdiff_t>(at + 8));
    const auto crc = crc32(0L, png.data() + at + 4, static_cast<uInt>(4 + length));
    EXPECT_EQ(bigEndian(png, at + 8 + length), crc) << chunks.back();
    at += 12 + length;
  }
  EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

TEST(PngImageTest, PictureWhosePixelsDoNotFitItsSizeGivesNothing) {
  Picture picture;
  picture.width = 4;
  picture.height = 2;
  picture.rgba.assign(4 * 2 * 4 - 1, 0);
  EXPECT_TRUE(encodePng(picture).empty());
  picture.width = 0;
  picture.rgba.clear();
  EXPECT_TRUE(encodePng(picture).empty());
}

}  // namespace
}  // namespace morvane
