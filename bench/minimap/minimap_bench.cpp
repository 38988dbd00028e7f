// The minimap against the header parse it draws from, in one run: each
// recording loaded once into memory, then by turns parseHeader, drawMinimap
// at 256 pixels, and drawMinimap with encodePng (what --minimap writes).
// Over the real recordings when present and over a synthetic 220 x 220
// game. Times are the process's CPU time summed over a set's files, median
// over rounds.
// Usage: morvane_bench_minimap [ROUNDS] [RECORDINGS_FOLDER]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cpu_time.h"
#include "recording_paths.h"
#include "minimap/minimap.h"
#include "minimap/png_image.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"

namespace {

using namespace morvane;
using bench::cpuSeconds;
using bench::median;

constexpr int32_t kSize = 256;

struct Loaded {
  std::unique_ptr<RecordedGameFile> file;
  GameEntry entry;  // parsed once, for the drawing sides
  GameEntry withObjects;  // parseGame's: the objects at the start too
};

// Each side answers a number that depends on its work, so none is optimised away.
struct Side {
  const char* name;
  std::function<int64_t(Loaded&)> run;
  std::vector<double> roundSeconds;
};

std::vector<Side> makeSides() {
  return {
      {"parseHeader",
       [](Loaded& l) -> int64_t {
         GameEntry entry;
         l.file->parseHeader(entry);
         return entry.mapWidth;
       },
       {}},
      {"drawMinimap 256 px",
       [](Loaded& l) -> int64_t { return drawMinimap(l.entry, kSize).rgba[kSize * 2 + 3]; },
       {}},
      {"drawMinimap 256 px, objects",
       [](Loaded& l) -> int64_t { return drawMinimap(l.withObjects, kSize).rgba[kSize * 2 + 3]; },
       {}},
      {"drawMinimap + encodePng",
       [](Loaded& l) -> int64_t {
         return static_cast<int64_t>(encodePng(drawMinimap(l.entry, kSize)).size());
       },
       {}},
  };
}

bool load(const std::string& path, std::vector<Loaded>& into) {
  Loaded loaded{std::make_unique<RecordedGameFile>(), {}, {}};
  if (!loaded.file->load(path, InflateTarget::kMemory)) return false;
  loaded.file->parseHeader(loaded.entry);
  loaded.file->parseGame(loaded.withObjects);
  into.push_back(std::move(loaded));
  return true;
}

std::vector<Loaded> loadFolder(const std::string& folder) {
  const std::vector<std::string> paths = morvane::bench::recordingPaths(folder);
  std::vector<Loaded> loaded;
  for (const std::string& path : paths) {
    if (!load(path, loaded)) std::printf("  (left out %s: it does not load)\n", path.c_str());
  }
  return loaded;
}

void report(const char* title, std::vector<Loaded>& files, int rounds) {
  std::printf("%s: %zu files\n", title, files.size());
  std::vector<Side> sides = makeSides();
  int64_t sink = 0;
  for (int round = 0; round <= rounds; ++round) {  // round 0 warms up
    std::vector<double> seconds(sides.size(), 0.0);
    for (std::size_t f = 0; f < files.size(); ++f) {
      for (std::size_t turn = 0; turn < sides.size(); ++turn) {
        const std::size_t s = (turn + f + static_cast<std::size_t>(round)) % sides.size();
        const double start = cpuSeconds();
        sink += sides[s].run(files[f]);
        seconds[s] += cpuSeconds() - start;
      }
    }
    if (round == 0) continue;
    for (std::size_t s = 0; s < sides.size(); ++s) sides[s].roundSeconds.push_back(seconds[s]);
  }
  const double parse = median(sides[0].roundSeconds);
  std::printf("  %-26s %9s %12s\n", "", "ms/round", "of parse");
  for (const Side& side : sides) {
    const double t = median(side.roundSeconds);
    std::printf("  %-26s %9.3f %12.3f\n", side.name, t * 1e3, t / parse);
  }
  const double objects = median(sides[2].roundSeconds) - median(sides[1].roundSeconds);
  std::printf("  the objects add %.3f ms a picture\n",
              objects * 1e3 / static_cast<double>(std::max<std::size_t>(files.size(), 1)));
  std::printf(
      "  (medians of %d rounds, process CPU time; \"of parse\" is the time as a share of"
      " parseHeader's; check %lld)\n",
      rounds, static_cast<long long>(sink % 1000));
}

// 8 players on a 220 x 220 map of mixed terrain over rolling ground.
fixtures::SampleGame syntheticGame() {
  fixtures::SampleGame game;
  for (int32_t n = 1; n <= 8; ++n) {
    fixtures::SamplePlayer player{n, "Player " + std::to_string(n), static_cast<uint8_t>(n),
                                  static_cast<uint8_t>(n - 1)};
    player.camera = {static_cast<float>(20 + 22 * n), static_cast<float>(200 - 20 * n)};
    game.players.push_back(player);
  }
  game.width = 220;
  game.height = 220;
  for (int32_t y = 0; y < game.height; ++y) {
    for (int32_t x = 0; x < game.width; ++x) {
      game.terrain.push_back(static_cast<uint8_t>((x / 9 + y / 7) % 41));
      game.elevation.push_back(static_cast<uint8_t>((x / 11 + y / 13) % 5));
    }
  }
  game.withOptionalBlock = true;
  game.minimumHeaderLength = 1500000;
  game.noiseSeed = 12345;
  return game;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const std::string shared = argc > 2 ? argv[2] : MORVANE_RECORDINGS_DIR;
  if (std::filesystem::is_directory(shared)) {
    std::printf("real recordings from %s\n", shared.c_str());
    std::vector<Loaded> real = loadFolder(shared);
    if (!real.empty()) report("real recordings", real, rounds);
  } else {
    std::printf("no real recordings at %s\n", shared.c_str());
  }

  fixtures::TempFolder scratch;
  const fixtures::SampleGame game = syntheticGame();
  const std::string path = scratch.file("synthetic.mgx");
  std::vector<Loaded> synthetic;
  if (!scratch.ok() || !fixtures::writeRecording(path, buildHeader(game).bytes, buildBody(game)) ||
      !load(path, synthetic)) {
    std::fprintf(stderr, "cannot write or load the synthetic recording\n");
    return 1;
  }
  std::printf("\n");
  report("synthetic game", synthetic, rounds);
  return 0;
}
