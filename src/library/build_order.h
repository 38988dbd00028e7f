// A player's build order the way players write one: the first research,
// buildings and units other than villagers, each with its game time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "recording/game_play.h"
#include "recording/game_version.h"

namespace morvane {

enum class StepKind { kResearch, kBuilding, kUnit };

struct BuildStep {
  int64_t timeMs = 0;  // the first command of the step
  StepKind kind = StepKind::kResearch;
  int32_t id = 0;     // technology or unit id, as the game numbers them
  int32_t count = 1;  // buildings placed or units trained by the step
};

// Commands of one kind and id that follow each other within this time are
// one step ("House x2", "Archer x5"): players queue units and lay houses a
// few at a time.
inline constexpr int64_t kStepJoinMs = 30000;

// How many steps a report shows of each player.
inline constexpr std::size_t kBuildOrderSteps = 15;

// The player's steps in game time, at most `most`. Villagers are left out;
// a technology researched again (a research cancelled and clicked anew) is
// kept at its last click only, as the age times take the last click.
std::vector<BuildStep> buildOrderOf(const PlayerPlay& play, std::size_t most = kBuildOrderSteps);

// A step's name; empty where the names table does not know the id.
using StepNamer = std::function<std::string(StepKind kind, int32_t id)>;

// The names a report shows: in Japanese where the game's Japanese strings
// have one, else in English, as the edition that wrote the recording names
// the id.
StepNamer reportStepNamer(VersionFamily family);

// "m:ss" of game time, minutes past 59 included ("72:05").
std::string minuteClockText(int64_t ms);

// "4:35 Loom", "12:02 Archer x5"; an id with no name reads "#22".
std::string buildStepText(const BuildStep& step, const StepNamer& name);

}  // namespace morvane
