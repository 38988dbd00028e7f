// The object lists at the end of each player block of the header's game
// data (Gaia's first): live objects, sleeping ones, and the remembered
// copies. Each list is walked record by record by its structure; where a
// record cannot be followed, the lists are not read.
#pragma once

#include <cstdint>
#include <map>

#include "recording/byte_reader.h"
#include "recording/game_entry.h"
#include "recording/game_version.h"
#include "recording/map_objects.h"

namespace morvane {

struct ObjectSearch {
  int64_t from = 0;    // the first byte after the map's tiles
  int64_t limit = 0;   // no list starts at or after this
  int32_t blocks = 0;  // Gaia and the players: the header's player count
  int32_t mapWidth = 0;
  int32_t mapHeight = 0;
};

// The gold, stone, relics and cliffs Gaia owns and the players' buildings.
// Each block's lists are the first, from where the last block's ended, that
// walk whole: every record of a known type, owned by the block's player and
// standing on the map, no list holding more than its capacity.
MapObjects readMapObjects(ByteSpan header, const ObjectRecordLayout& layout,
                          const ObjectSearch& search);

// The objects of a parsed game of the earlier editions, searched for from
// the first byte after its tiles (0: the tiles were not read) up to the
// player list. A restored game's lists hold the game as it was saved, not
// its start: they are not read.
MapObjects readStartingObjects(ByteSpan header, const HeaderLayout& layout, int64_t tilesEnd,
                               int64_t listEnd, const GameEntry& entry, bool restored);

// The Definitive Edition's players' spawn points, as each player's block in
// the game data states them, searched for in order from `from` (the end of
// the edition's own block). Where the layout row does not know the block's
// form, none.
void readDefinitiveStarts(ByteSpan header, const DefinitiveLayout& layout, int64_t from,
                          GameEntry& entry);

// By player number: the first town centre, else the start the player's
// block states (the slot's start).
std::map<int32_t, MapPoint> startPositionsOf(const MapObjects& objects, const GameEntry& entry);

}  // namespace morvane
