#include "library/build_order.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "library/play_names.h"

namespace morvane {
namespace {

// The villager's unit ids: the one a town centre trains, and the female
// villager the earlier editions train as well.
bool isVillager(int32_t unitId) { return unitId == 83 || unitId == 293; }

// The research commands that stand: the last click of each technology.
std::vector<BuildStep> researchSteps(const std::vector<ResearchOrder>& research) {
  std::vector<BuildStep> steps;
  std::set<int32_t> seen;
  for (auto order = research.rbegin(); order != research.rend(); ++order) {
    if (seen.insert(order->techId).second)
      steps.push_back({order->timeMs, StepKind::kResearch, order->techId, 1});
  }
  std::reverse(steps.begin(), steps.end());
  return steps;
}

}  // namespace

std::vector<BuildStep> buildOrderOf(const PlayerPlay& play, std::size_t most) {
  std::vector<BuildStep> all = researchSteps(play.research);
  for (const BuildOrder& building : play.buildings)
    all.push_back({building.timeMs, StepKind::kBuilding, building.buildingId, 1});
  for (const TrainOrder& unit : play.units) {
    if (!isVillager(unit.unitId) && unit.count > 0)
      all.push_back({unit.timeMs, StepKind::kUnit, unit.unitId, unit.count});
  }
  // Each list is in body order; equal times keep research, buildings, units.
  std::stable_sort(all.begin(), all.end(),
                   [](const BuildStep& a, const BuildStep& b) { return a.timeMs < b.timeMs; });
  std::vector<BuildStep> steps;
  int64_t lastJoinedMs = 0;
  for (const BuildStep& step : all) {
    if (!steps.empty() && step.kind != StepKind::kResearch && steps.back().kind == step.kind &&
        steps.back().id == step.id && step.timeMs - lastJoinedMs <= kStepJoinMs) {
      steps.back().count += step.count;
      lastJoinedMs = step.timeMs;
      continue;
    }
    if (steps.size() == most) break;
    steps.push_back(step);
    lastJoinedMs = step.timeMs;
  }
  return steps;
}

StepNamer reportStepNamer(VersionFamily family) {
  return [family](StepKind kind, int32_t id) -> std::string {
    const bool research = kind == StepKind::kResearch;
    const char* name = research ? technologyNameInJapanese(id, family) : unitNameInJapanese(id, family);
    if (name == nullptr) name = research ? technologyName(id, family) : unitName(id, family);
    return name == nullptr ? std::string() : std::string(name);
  };
}

std::string minuteClockText(int64_t ms) {
  const long long seconds = std::max<int64_t>(ms, 0) / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
  return text;
}

std::string buildStepText(const BuildStep& step, const StepNamer& name) {
  std::string named = name ? name(step.kind, step.id) : std::string();
  if (named.empty()) named = "#" + std::to_string(step.id);
  std::string text = minuteClockText(step.timeMs) + " " + named;
  if (step.count > 1) text += " x" + std::to_string(step.count);
  return text;
}

}  // namespace morvane
