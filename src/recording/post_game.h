// The post-game block that multiplayer recordings of community patch 1.4 and
// later end with: the game's length and each seat's achievements.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "recording/byte_reader.h"
#include "recording/game_facts.h"

namespace morvane {

inline constexpr int kPostGameRecords = 8;

struct PostGame {
  int32_t durationSeconds = 0;
  bool complete = false;  // the game ran to its end
  // Record k is list position k + 1's, co-op seats each their own; a record
  // without a name was not written (no player at that position).
  std::array<std::optional<Achievements>, kPostGameRecords> records;
};

// The block's bytes after the command id at offset at, of which count are
// stated; nullopt unless the whole block lies there.
std::optional<PostGame> readPostGame(ByteSpan body, int64_t at, int64_t count);

}  // namespace morvane
