// Times load + parseHeader of a realistic game (8 players, 220 x 220 map,
// about 1.5 MB inflated header, 3 MB body with a few hundred chat messages)
// against a baseline in the same run: read the same file and raw-inflate its
// header into memory, nothing else. Prints both throughputs and their ratio.
// Usage: morvane_bench_recording [ROUNDS]
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"

namespace {

using namespace morvane;
using Clock = std::chrono::steady_clock;

fixtures::SampleGame realisticGame() {
  fixtures::SampleGame game;
  for (int32_t n = 1; n <= 8; ++n) {
    game.players.push_back(
        fixtures::SamplePlayer{n, "Player number " + std::to_string(n), static_cast<uint8_t>(n + 2),
                               static_cast<uint8_t>(n - 1), static_cast<uint8_t>(n <= 4 ? 2 : 3)});
  }
  game.pov = 3;
  game.width = 220;
  game.height = 220;
  game.withOptionalBlock = true;
  game.mapText = "Arabia";
  game.mapTypeSpaceAt = 1400000;
  game.minimumHeaderLength = 1500000;
  for (int i = 0; i < 20; ++i)
    game.lobbyChat.push_back("@#1Player: lobby line " + std::to_string(i));
  for (int i = 0; i < 300; ++i) {
    game.gameChat.push_back("@#" + std::to_string(1 + i % 8) + "Player: message number " +
                            std::to_string(i));
  }
  game.bodyFiller = 10000;
  game.noiseSeed = 12345;
  return game;
}

// Baseline: the file into memory, then its header through raw inflate.
bool readAndInflate(const std::string& path, std::size_t& inflatedSize) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fseek(f, 0, SEEK_END);
  std::vector<uint8_t> file(static_cast<std::size_t>(std::ftell(f)));
  std::fseek(f, 0, SEEK_SET);
  const bool read = std::fread(file.data(), 1, file.size(), f) == file.size();
  std::fclose(f);
  if (!read) return false;
  if (file.size() < 8) return false;
  const uint32_t bodyOffset =
      file[0] | (file[1] << 8) | (file[2] << 16) | (static_cast<uint32_t>(file[3]) << 24);
  z_stream stream{};
  if (inflateInit2(&stream, -15) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(file.data() + 8);
  stream.avail_in = bodyOffset - 8;
  std::vector<uint8_t> out;
  int result = Z_OK;
  while (result == Z_OK) {
    const std::size_t used = out.size();
    out.resize(used + 0x20000);
    stream.next_out = out.data() + used;
    stream.avail_out = 0x20000;
    result = inflate(&stream, Z_SYNC_FLUSH);
    out.resize(out.size() - stream.avail_out);
  }
  inflateEnd(&stream);
  inflatedSize = out.size();
  return result == Z_STREAM_END;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  fixtures::TempFolder folder;
  const std::string path = folder.file("bench.mgx");
  const fixtures::SampleGame game = realisticGame();
  const fixtures::SampleHeader header = buildHeader(game);
  const std::vector<uint8_t> body = buildBody(game);
  if (!folder.ok() || !fixtures::writeRecording(path, header.bytes, body)) {
    std::fprintf(stderr, "cannot write the benchmark recording\n");
    return 1;
  }
  const double fileMb = static_cast<double>(fixtures::readFile(path).size()) / 1e6;
  std::printf("recording: %.2f MB file, %.2f MB inflated header, %.2f MB body, %zu chat messages\n",
              fileMb, static_cast<double>(header.bytes.size()) / 1e6,
              static_cast<double>(body.size()) / 1e6, game.gameChat.size() + game.lobbyChat.size());

  std::vector<double> readerTimes;
  std::vector<double> baselineTimes;
  std::size_t checksum = 0;
  for (int round = 0; round < rounds + 1; ++round) {
    // Swap the order every round so that neither always runs on a warmer cache.
    RecordedGameFile file;
    GameEntry entry;
    std::size_t inflated = 0;
    bool loaded = false;
    bool baselineOk = false;
    double readerSeconds = 0;
    double baselineSeconds = 0;
    for (int turn = 0; turn < 2; ++turn) {
      const auto t0 = Clock::now();
      if ((turn == 0) == (round % 2 == 0)) {
        loaded = file.load(path);
        if (loaded) file.parseHeader(entry);
        readerSeconds = std::chrono::duration<double>(Clock::now() - t0).count();
      } else {
        baselineOk = readAndInflate(path, inflated);
        baselineSeconds = std::chrono::duration<double>(Clock::now() - t0).count();
      }
    }
    if (!loaded) {
      std::fprintf(stderr, "load failed: %s\n", describe(file.lastError()));
      return 1;
    }
    if (!baselineOk) {
      std::fprintf(stderr, "baseline inflate failed\n");
      return 1;
    }
    checksum += entry.gameChat.size() + inflated;
    if (round == 0) {
      if (entry.mapName != "Arabia" || entry.playerNames[8].empty()) {
        std::fprintf(stderr, "the benchmark game did not parse as built\n");
        return 1;
      }
      continue;  // warm-up
    }
    readerTimes.push_back(readerSeconds);
    baselineTimes.push_back(baselineSeconds);
  }

  const double reader = fileMb / median(readerTimes);
  const double baseline = fileMb / median(baselineTimes);
  std::printf("load + parseHeader : %8.1f MB/s of file (median of %d, %.2f ms)\n", reader, rounds,
              median(readerTimes) * 1e3);
  std::printf("read + inflate only: %8.1f MB/s of file (median of %d, %.2f ms)\n", baseline, rounds,
              median(baselineTimes) * 1e3);
  std::printf("ratio reader/baseline: %.2f (target >= 0.80)   [checksum %zu]\n", reader / baseline,
              checksum);
  return 0;
}
