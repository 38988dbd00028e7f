// What opening a game's report costs over each real recording, against what
// selecting it in the list costs (load + parseGame, the baseline), in one run:
// the report of the parsed entry with its map picture, and the play read
// after it (the file loaded again, every command walked, the build orders
// named, the chart drawn at the window's size and the map again with the
// buildings placed). Times are the process's
// CPU time per file, median over rounds; the files are loaded into memory
// (a real opening may inflate through a temporary file beside the game).
// Usage: morvane_bench_report [ROUNDS] [RECORDINGS_FOLDER]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cpu_time.h"
#include "recording_paths.h"
#include "library/build_order.h"
#include "library/game_report.h"
#include "minimap/actions_chart.h"
#include "minimap/minimap.h"
#include "recording/command_walk.h"
#include "recording/recorded_game_file.h"

namespace {

using namespace morvane;
using bench::cpuSeconds;
using bench::median;

// The sizes the report window gives its pictures at its first opening.
constexpr int32_t kMapWidth = 460;
constexpr int32_t kChartWidth = 590;
constexpr int32_t kChartHeight = 240;

struct Times {
  std::vector<double> selection, report, play;
};

int64_t selection(const std::string& path, GameEntry& entry) {
  RecordedGameFile file;
  if (!file.load(path, InflateTarget::kMemory)) return -1;
  file.parseGame(entry);
  return entry.mapWidth;
}

int64_t report(const GameEntry& entry) {
  const GameReport report = buildGameReport(entry);
  return drawMinimap(entry, kMapWidth).rgba[kMapWidth * 2 + 3] +
         static_cast<int64_t>(report.players.size());
}

int64_t play(const std::string& path, const GameEntry& entry, int64_t& actions) {
  RecordedGameFile file;
  if (!file.load(path, InflateTarget::kMemory)) return -1;
  const GamePlay walked = readGamePlay(file, entry);
  GameReport report = buildGameReport(entry);
  addPlay(report, walked, reportStepNamer(entry.facts.read().version.family));
  const Picture chart = drawActionsChart(chartDataOf(report), kChartWidth, kChartHeight);
  // The map again, with the buildings placed.
  const Picture map = drawMinimap(entry, kMapWidth, &walked);
  actions = 0;
  for (const auto& player : walked.players) actions += player.second.actions;
  return chart.rgba[7] + map.rgba[kMapWidth * 2 + 3];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const std::string folder = argc > 2 ? argv[2] : MORVANE_RECORDINGS_DIR;
  namespace fs = std::filesystem;
  const std::vector<std::string> paths = morvane::bench::recordingPaths(folder);
  if (paths.empty()) {
    std::printf("no recordings at %s\n", folder.c_str());
    return 0;
  }
  std::printf("%-46s %7s %4s %8s %10s %8s %8s %7s\n", "recording", "minutes", "pl.", "actions",
              "selection", "report", "+ play", "of sel.");
  int64_t sink = 0;
  double worst = 0;
  for (const std::string& path : paths) {
    GameEntry entry;
    if (selection(path, entry) < 0 || !entry.isParsed()) continue;
    Times times;
    int64_t actions = 0;
    for (int round = 0; round <= rounds; ++round) {  // round 0 warms up
      GameEntry each;
      double start = cpuSeconds();
      sink += selection(path, each);
      const double selected = cpuSeconds() - start;
      start = cpuSeconds();
      sink += report(entry);
      const double reported = cpuSeconds() - start;
      start = cpuSeconds();
      sink += play(path, entry, actions);
      const double played = cpuSeconds() - start;
      if (round == 0) continue;
      times.selection.push_back(selected);
      times.report.push_back(reported);
      times.play.push_back(played);
    }
    int players = 0;
    for (int k = 1; k < GameEntry::kPositions; ++k)
      players += entry.playerNames[static_cast<std::size_t>(k)].empty() ? 0 : 1;
    const double sel = median(times.selection), rep = median(times.report), pl = median(times.play);
    worst = std::max(worst, rep + pl);
    std::printf("%-46s %7.1f %4d %8lld %8.2fms %6.2fms %6.2fms %7.2f\n",
                fs::path(path).filename().string().c_str(),
                static_cast<double>(entry.facts.read().durationMs) / 60000.0, players,
                static_cast<long long>(actions), sel * 1e3, rep * 1e3, pl * 1e3, (rep + pl) / sel);
  }
  std::printf(
      "longest opening (report + play): %.2f ms  (goal: 50 ms; medians of %d rounds, "
      "process CPU time; check %lld)\n",
      worst * 1e3, rounds, static_cast<long long>(sink % 1000));
  return 0;
}
