// stb_image_write lays out the PNG; its deflate and checksums are zlib's, so
// zlib stays the one compression code in the programs.
#include "minimap/png_image.h"

#include <zlib.h>

#include <cstdlib>
#include <limits>

namespace {

// stb frees what this returns with free(). A minimap is mostly runs of one
// colour: the fastest level packs it within half again of the best, at a
// quarter of the time.
unsigned char* zlibCompress(unsigned char* data, int length, int* outLength, int /*quality*/) {
  if (length < 0) return nullptr;
  uLongf bound = compressBound(static_cast<uLong>(length));
  auto* out = static_cast<unsigned char*>(std::malloc(bound));
  if (out == nullptr) return nullptr;
  if (compress2(out, &bound, data, static_cast<uLong>(length), Z_BEST_SPEED) != Z_OK ||
      bound > static_cast<uLongf>(std::numeric_limits<int>::max())) {
    std::free(out);
    return nullptr;
  }
  *outLength = static_cast<int>(bound);
  return out;
}

unsigned int zlibCrc32(unsigned char* bytes, int length) {
  return static_cast<unsigned int>(crc32(0L, bytes, static_cast<uInt>(length)));
}

}  // namespace

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#define STBIW_ZLIB_COMPRESS zlibCompress
#define STBIW_CRC32 zlibCrc32
#include <stb_image_write.h>

namespace morvane {
namespace {

void append(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<uint8_t> encodePng(const Picture& picture) {
  constexpr int kChannels = 4;
  const auto pixels = static_cast<std::size_t>(picture.width) * picture.height;
  if (picture.width <= 0 || picture.height <= 0 || picture.rgba.size() != pixels * kChannels)
    return {};
  std::vector<uint8_t> out;
  if (stbi_write_png_to_func(append, &out, picture.width, picture.height, kChannels,
                             picture.rgba.data(), picture.width * kChannels) == 0)
    return {};
  return out;
}

}  // namespace morvane
