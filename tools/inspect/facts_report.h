// The inspector's keys for a game's length, result and settings, and what
// each player did.
#pragma once

#include "json_line.h"
#include "recording/game_facts.h"
#include "recording/game_version.h"

namespace morvane::inspect {

// durationMs, restored, resignations and winners (unless withResult is
// false), settings, then by player number ageUps, ageReached and
// achievements.
void addFacts(JsonLine& line, const GameFacts& facts, bool withResult);

// mapId and mapNameById, hdProfiles and codePage, each absent where the
// recording holds none.
void addMapAndProfiles(JsonLine& line, const GameFacts& facts, VersionFamily family);

// The settings object alone, its speed named as the family names it.
std::string settingsJson(const GameSettings& settings, VersionFamily family);

}  // namespace morvane::inspect
