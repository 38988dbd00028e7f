// The later edition's own lobby block (save version 12.36 on), which stands
// between the save version and the optional block and must be stepped over
// before anything after it can be found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recording/byte_reader.h"
#include "recording/game_facts.h"

namespace morvane {

// The game settings the block holds, in its own numbers.
struct LobbySettings {
  int32_t difficulty = 0;
  int32_t mapSize = 0;
  float speed = 0;
  int32_t population = 0;
  bool teamsLocked = false;
  int32_t mapId = 0;  // the map chosen in the lobby
};

// One player entry: the profile the lobby knew the player by.
struct LobbyPlayer {
  int32_t number = 0;  // the player number, 0 or -1 for an empty or closed slot
  uint64_t profileId = 0;
  std::optional<int32_t> rmRating;  // in the 1006 files that hold ratings
  std::optional<int32_t> dmRating;
};

struct LobbyBlock {
  float version = 0;  // the block's own version: 1000, 1004, 1005, 1006, ...
  int64_t end = 0;    // the first byte after the block
  LobbySettings settings;
  std::vector<LobbyPlayer> players;  // none in the first version's table
  std::optional<GameGuid> gameId;    // none in the first version
  // The random map script the lobby played from its file, as written (e.g.
  // "MICHI 2017.rms"); empty for a built-in map, whose id names it.
  std::string mapFile;
};

// Walks the block from start by its structure; nullopt when a separator,
// a string marker or a count does not stand where the structure puts it.
std::optional<LobbyBlock> readLobbyBlock(ByteSpan header, int64_t start);

}  // namespace morvane
