// The inspector's key for how the game was played: per player its actions
// per minute and what it researched, built, trained, sent and traded.
#pragma once

#include "json_line.h"
#include "recording/game_play.h"
#include "recording/game_version.h"

namespace morvane::inspect {

// play: the game time walked, per player number its actions (with their
// count per minute of game time), research, buildings, units, tribute and
// trades with game times, ids and English names, and the train commands
// no player could be found for and the commands of unknown form by type.
void addPlay(JsonLine& line, const GamePlay& play, VersionFamily family);

}  // namespace morvane::inspect
