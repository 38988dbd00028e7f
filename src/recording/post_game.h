// The post-game block that multiplayer recordings of community patch 1.4 and
// later end with: the game's length and each player's result.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "recording/byte_reader.h"

namespace morvane {

struct PostGame {
  int32_t durationSeconds = 0;
  bool complete = false;  // the game ran to its end
  int playerCount = 0;
  std::array<bool, 8> victory = {};  // by player number - 1
};

// The block's bytes after the command id at offset at, of which count are
// stated; nullopt unless the whole block lies there.
std::optional<PostGame> readPostGame(ByteSpan body, int64_t at, int64_t count);

}  // namespace morvane
