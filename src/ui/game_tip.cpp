#include "ui/game_tip.h"

#include <cstdio>

#include "library/game_report.h"
#include "recording/setting_names.h"
#include "resource.h"
#include "ui/resource_text.h"

namespace morvane::ui {
namespace {

void addLine(std::string& tip, UINT label, const std::string& value) {
  if (value.empty()) return;
  if (!tip.empty()) tip += "\r\n";
  tip += loadResourceString(label) + ": " + value;
}

// The name of one of a setting's fixed choices, or empty.
std::string choice(std::optional<int32_t> value, int32_t count, UINT first) {
  if (!named(value, count)) return {};
  return loadResourceString(first + static_cast<UINT>(*value));
}

}  // namespace

std::string gameTipText(const GameEntry& entry) {
  if (!entry.isParsed() || !entry.facts.allocated()) return {};
  const GameFacts& facts = entry.facts.read();
  const GameSettings& s = facts.settings;
  std::string tip;
  std::string length = clockText(facts.durationMs);
  if (facts.restored()) length += loadResourceString(IDS_TIP_RESTORED);
  addLine(tip, IDS_TIP_LENGTH, length);
  addLine(tip, IDS_TIP_GAME_TYPE, choice(s.gameType, kGameTypes, IDS_GAME_TYPE_FIRST));
  if (s.speed) {
    if (const auto speed = speedOf(*s.speed, facts.version.family)) {
      addLine(tip, IDS_TIP_SPEED, loadResourceString(IDS_SPEED_FIRST + static_cast<UINT>(*speed)));
    }
  }
  if (s.populationLimit) addLine(tip, IDS_TIP_POPULATION, std::to_string(*s.populationLimit));
  addLine(tip, IDS_TIP_MAP_SIZE, choice(s.mapSize, kMapSizes, IDS_MAP_SIZE_FIRST));
  addLine(tip, IDS_TIP_DIFFICULTY, choice(s.difficulty, kDifficulties, IDS_DIFFICULTY_FIRST));
  addLine(tip, IDS_TIP_STARTING_AGE, choice(s.startingAge, kStartingAges, IDS_AGE_FIRST));
  std::string victory = choice(s.victory, kVictories, IDS_VICTORY_FIRST);
  if (!victory.empty() && s.victoryTime) victory += " (" + std::to_string(*s.victoryTime) + ")";
  if (!victory.empty() && s.victoryScore) victory += " (" + std::to_string(*s.victoryScore) + ")";
  addLine(tip, IDS_TIP_VICTORY, victory);
  addLine(tip, IDS_TIP_REVEAL_MAP, choice(s.revealMap, kRevealMaps, IDS_REVEAL_MAP_FIRST));
  if (s.lockTeams) {
    addLine(tip, IDS_TIP_LOCK_TEAMS, loadResourceString(*s.lockTeams ? IDS_TIP_YES : IDS_TIP_NO));
  }
  return tip;
}

}  // namespace morvane::ui
