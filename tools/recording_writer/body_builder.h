// Assembles a recording body: filler commands and in-game chat messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "recording_writer/byte_writer.h"

namespace morvane::fixtures {

class BodyBuilder : public ByteWriter {
 public:
  // int32 4, int32 -1, int32 n, then the text; returns the offset of the text.
  int64_t chat(std::string_view message, std::optional<int32_t> declaredLength = std::nullopt) {
    return chatAfter(4, -1, message, declaredLength);
  }
  // The same with other values in the two int32 fields before n.
  int64_t chatAfter(int32_t first, int32_t second, std::string_view message,
                    std::optional<int32_t> declaredLength = std::nullopt);
};

}  // namespace morvane::fixtures
