// Pictures as PNG files.
#pragma once

#include <cstdint>
#include <vector>

#include "minimap/minimap.h"

namespace morvane {

// The bytes of a PNG file of the picture (8-bit RGBA), or nothing when it
// cannot be encoded (no memory, a picture whose pixels do not match its size).
std::vector<uint8_t> encodePng(const Picture& picture);

}  // namespace morvane
