// The inspector's keys for a game's length, result and settings, and what
// each player did.
#pragma once

#include "json_line.h"
#include "recording/game_facts.h"

namespace morvane::inspect {

// durationMs, restored, resignations and winners (unless withResult is
// false), settings, then by player number ageUps, ageReached and
// achievements.
void addFacts(JsonLine& line, const GameFacts& facts, bool withResult);

// The settings object alone.
std::string settingsJson(const GameSettings& settings);

}  // namespace morvane::inspect
