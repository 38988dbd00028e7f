// The Definitive Edition's header, read by its structure: the edition's own
// block (its settings and one entry per player), then the AI flag, the
// replay section and the map with its tiles. Each field is stepped over by
// the layout row of the header's save version; separators are checked where
// the structure puts them, never searched for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recording/byte_reader.h"
#include "recording/game_entry.h"
#include "recording/game_facts.h"
#include "recording/game_version.h"

namespace morvane {

// One entry of the block's player list.
struct DefinitivePlayer {
  int32_t number = -1;  // -1 for a slot that holds no player
  std::string name;     // UTF-8
  int32_t civId = 0;
  int32_t colourId = 0;
  uint8_t team = 0;  // 1 no team, 2 team 1, ...
  int32_t profileId = 0;
};

struct DefinitiveBlock {
  std::optional<int32_t> build;  // where the patch writes it
  // When the game was played, seconds since 1970 UTC, where the patch
  // writes it.
  std::optional<int64_t> playedAt;
  GameSettings settings;
  int32_t mapId = 0;
  // The random map's script where the lobby chose one by its file (a
  // subscribed mod's), its name without ".rms"; empty for none.
  std::string customMapName;
  GameGuid gameId = {};
  std::vector<DefinitivePlayer> players;  // by list position, from 1
  int64_t end = 0;                        // the AI flag
};

// nullopt when a separator, a string's marker or a count does not stand
// where the structure puts it.
std::optional<DefinitiveBlock> readDefinitiveBlock(ByteSpan header, const DefinitiveLayout& layout);

// False when the block was read and the AI section after it breaks the
// structure every recording of it shows: a header the table does not know.
bool aiSectionHolds(ByteSpan header, const DefinitiveLayout& layout);

struct DefinitiveHeader {
  std::optional<DefinitiveBlock> block;
  bool mapRead = false;  // the replay section and the map were walked to their end
  int64_t restoredAtMs =
      0;  // the game time a restored game was saved at, as in the earlier editions
};

// Fills the entry's players, point of view, player count, map size, tiles
// and team labels.
DefinitiveHeader parseDefinitiveHeader(ByteSpan header, const DefinitiveLayout& layout,
                                       GameEntry& entry);

}  // namespace morvane
