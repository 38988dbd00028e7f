// The inspector's keys for what stood on the map at the start.
#pragma once

#include "json_line.h"
#include "recording/game_facts.h"

namespace morvane::inspect {

// objects: per kind (gold, stone, relics, cliffs) its count and, but for
// cliffs, the tiles its objects stand on; or read false and why not.
// startPositions: by player number, the start's tile.
void addObjects(JsonLine& line, const GameFacts& facts);

}  // namespace morvane::inspect
