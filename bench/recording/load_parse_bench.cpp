// The reader against the least work any reader does, in one run, the five
// measured by turns on every file of every round:
//   (a) the file read and its header raw-inflated, into reused buffers;
//   (b) (a) with the header passed through a temporary file, read back and
//       deleted, as the reader does;
//   load, load + parseHeader, load + parseGame (the facts too), and that
//   with every command read for what each player did (readGamePlay).
// Over the real recordings (copied into a temporary folder, since the reader
// writes beside them) when present, and over a synthetic game. Times are the
// process's CPU time, summed over a set's files, median over rounds; each
// figure has the minor page faults per call beside it, so a side that
// allocates afresh shows itself.
// Before the times, each real recording's peak memory: the most resident
// memory load + parseGame added, through either place the header passes
// (Linux only: the peak is read from /proc and reset before each call, with
// malloc giving freed memory back at once so that nothing kept from an
// earlier call is counted or reused), beside the header and body sizes.
// After the times, a crafted body of commands that each name a new object,
// at two sizes: reading every command must stay linear in the body's bytes.
// Then the Definitive Edition's cost per inflated header byte
// as a share of the earlier editions', from the same run.
// Usage: morvane_bench_recording [ROUNDS] [RECORDINGS_FOLDER] [--glibc-defaults]
// --glibc-defaults leaves malloc's trimming on: the reader then faults in
// fresh pages on most calls while the baselines do not.
#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "baseline_reads.h"
#include "cpu_time.h"
#include "recording_paths.h"
#include "recording/body_walk.h"
#include "recording/command_walk.h"
#include "recording/de_chat.h"
#include "recording/de_header.h"
#include "recording/de_layout.h"
#include "recording/game_objects.h"
#include "recording/header_stages.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/body_builder.h"
#include "recording_writer/definitive_game.h"
#include "recording_writer/recording_writer.h"

namespace {

using namespace morvane;
using bench::cpuSeconds;
using bench::median;

struct Recording {
  std::string path;
  int64_t fileBytes = 0;
  int64_t headerBytes = 0;
  bool definitive = false;  // the Definitive Edition's, reported apart
};

struct Side {
  using Run = std::function<int64_t(const std::string&)>;  // the header's length, or -1
  Side(const char* sideName, Run sideRun) : name(sideName), run(std::move(sideRun)) {}

  const char* name;
  Run run;
  std::vector<double> roundSeconds;
  long faults = 0;
  long calls = 0;
};

long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"); nullopt where
// there is none.
std::optional<int64_t> statusKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, field.size() + 1, field + ":") == 0) {
      return std::atoll(line.c_str() + field.size() + 1);
    }
  }
  return std::nullopt;
}

// Resets the peak resident size the kernel keeps for the process.
bool resetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  return static_cast<bool>(clear.flush());
}

// The most resident memory, in bytes, that loading and parsing path added.
std::optional<int64_t> peakOf(const std::string& path, InflateTarget target) {
  if (!resetPeak()) return std::nullopt;
  const auto before = statusKb("VmRSS");
  {
    RecordedGameFile file;
    if (!file.load(path, target)) return std::nullopt;
    GameEntry entry;
    file.parseGame(entry);
  }
  const auto peak = statusKb("VmHWM");
  if (!before || !peak) return std::nullopt;
  return (*peak - *before) * 1024;
}

// Each recording's peak beside its inflated header and body, through the
// temporary file (the window) and in memory (the inspector).
void reportPeaks(const std::vector<Recording>& recordings) {
  std::printf("peak memory of load + parseGame (resident, added by the call):\n");
  std::printf("  %-36s %9s %9s %10s %10s %9s\n", "", "header MB", "body MB", "file peak",
              "mem peak", "of h+b");
  for (const Recording& r : recordings) {
    RecordedGameFile file;
    if (!file.load(r.path)) continue;
    const auto header = static_cast<double>(file.headerLength());
    const auto body = static_cast<double>(file.bodyLength());
    const auto viaFile = peakOf(r.path, InflateTarget::kFileBesideGame);
    const auto inMemory = peakOf(r.path, InflateTarget::kMemory);
    if (!viaFile || !inMemory) {
      std::printf("  (no peak memory figures: /proc/self/clear_refs or status unreadable)\n");
      return;
    }
    const double worst = static_cast<double>(std::max(*viaFile, *inMemory));
    std::printf("  %-36s %9.2f %9.2f %10.2f %10.2f %9.2f\n",
                std::filesystem::path(r.path).filename().string().c_str(), header / 1e6,
                body / 1e6, static_cast<double>(*viaFile) / 1e6,
                static_cast<double>(*inMemory) / 1e6, worst / (header + body));
  }
  std::printf("  (MB of 10^6 bytes; \"of h+b\": the larger peak over header + body)\n");
}

// 8 players on a 220 x 220 map, about 1.5 MB of header and 3 MB of body with
// a few hundred chat messages. Its map type line stands where the game puts
// it, about 22.5 KB before the header's end (in the real recordings: 21.9 to
// 24.2 KB), so the search walks as far as it does there.
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
  game.minimumHeaderLength = 1500000;
  game.mapTypeSpaceAt = game.minimumHeaderLength - 22500;
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

// The recordings of folder that load, copied into scratch.
std::vector<Recording> copiedRecordings(const std::string& folder,
                                        const fixtures::TempFolder& scratch) {
  namespace fs = std::filesystem;
  std::vector<Recording> recordings;
  for (const std::string& path : morvane::bench::recordingPaths(folder)) {
    const std::string name = fs::path(path).filename().string();
    Recording recording{scratch.file(name)};
    std::error_code ec;
    if (!fs::copy_file(path, recording.path, ec)) continue;
    RecordedGameFile file;
    if (!file.load(recording.path)) {
      std::printf("  (left out %s: %s)\n", name.c_str(), describe(file.lastError()));
      continue;
    }
    recording.fileBytes = static_cast<int64_t>(fs::file_size(recording.path));
    recording.headerBytes = file.headerLength();
    recording.definitive = file.version().family == VersionFamily::kDE;
    recordings.push_back(recording);
  }
  return recordings;
}

// Every side on every file, by turns starting at a different side each
// time; false when a side's result disagrees with the reader's.
bool measure(const std::vector<Recording>& recordings, std::vector<Side>& sides, int rounds) {
  for (int round = 0; round <= rounds; ++round) {  // round 0 warms up
    std::vector<double> seconds(sides.size(), 0.0);
    for (std::size_t f = 0; f < recordings.size(); ++f) {
      for (std::size_t turn = 0; turn < sides.size(); ++turn) {
        const std::size_t s = (turn + f + static_cast<std::size_t>(round)) % sides.size();
        const long faults = minorFaults();
        const double start = cpuSeconds();
        const int64_t header = sides[s].run(recordings[f].path);
        seconds[s] += cpuSeconds() - start;
        if (header != recordings[f].headerBytes) {
          std::fprintf(stderr, "%s disagrees on %s\n", sides[s].name, recordings[f].path.c_str());
          return false;
        }
        if (round == 0) continue;
        sides[s].faults += minorFaults() - faults;
        ++sides[s].calls;
      }
    }
    if (round == 0) continue;
    for (std::size_t s = 0; s < sides.size(); ++s) sides[s].roundSeconds.push_back(seconds[s]);
  }
  return true;
}

std::vector<Side> makeSides(bench::BaselineReads& baseline) {
  return {
      {"(a) read + inflate",
       [&](const std::string& path) { return baseline.readAndInflate(path); }},
      {"(b) (a) + temporary file",
       [&](const std::string& path) { return baseline.readInflateThroughTemporaryFile(path); }},
      {"load",
       [](const std::string& path) -> int64_t {
         RecordedGameFile file;
         return file.load(path) ? file.headerLength() : -1;
       }},
      {"load + parseHeader",
       [](const std::string& path) -> int64_t {
         RecordedGameFile file;
         if (!file.load(path)) return -1;
         GameEntry entry;
         file.parseHeader(entry);
         return entry.mapName.empty() ? -1 : file.headerLength();
       }},
      {"load + parseGame (facts)",
       [](const std::string& path) -> int64_t {
         RecordedGameFile file;
         if (!file.load(path)) return -1;
         GameEntry entry;
         file.parseGame(entry);
         return entry.mapName.empty() ? -1 : file.headerLength();
       }},
      {"(load + parseGame) + play",
       [](const std::string& path) -> int64_t {
         RecordedGameFile file;
         if (!file.load(path)) return -1;
         GameEntry entry;
         file.parseGame(entry);
         const GamePlay play = readGamePlay(file, entry);
         return entry.mapName.empty() || play.durationMs < 0 ? -1 : file.headerLength();
       }},
  };
}

// A body of one kind of command over and over: each a research click at a
// building never named before, so the walk's table of owners grows with it.
std::vector<uint8_t> craftedBody(int64_t bytes) {
  fixtures::BodyBuilder body;
  body.start();
  for (uint32_t building = 1; body.size() < bytes; ++building) {
    body.researchAt(fixtures::CommandLayout::kEarlier, 1, 22, building);
    if (building % 64 == 0) body.timeStep(100);
  }
  return body.take();
}

void reportCraftedBodies(int rounds) {
  PlayStart start;
  start.players = 1u << 1;
  double perByte[2] = {};
  const int64_t sizes[2] = {int64_t{4} << 20, int64_t{16} << 20};
  for (int k = 0; k < 2; ++k) {
    const std::vector<uint8_t> body = craftedBody(sizes[k]);
    std::vector<double> seconds;
    for (int round = 0; round < std::max(3, rounds / 3); ++round) {
      const double t = cpuSeconds();
      const GamePlay play = readGamePlay(ByteSpan(body.data(), body.size()), 0, BodyLayout(), start);
      seconds.push_back(cpuSeconds() - t);
      if (play.players.empty()) std::printf("  (the crafted body read no player)\n");
    }
    perByte[k] = median(seconds) * 1e9 / static_cast<double>(body.size());
  }
  std::printf("crafted body of research commands: %.2f ns/byte at 4 MB, %.2f at 16 MB (%.2f)\n",
              perByte[0], perByte[1], perByte[1] / perByte[0]);
}

// The same files loaded once: parseHeader against parseGame, in memory, so
// the facts' own cost is not lost in the load's.
bool reportFactsAlone(const std::vector<Recording>& recordings, int rounds) {
  std::vector<std::unique_ptr<RecordedGameFile>> files;
  for (const Recording& r : recordings) {
    files.push_back(std::make_unique<RecordedGameFile>());
    if (!files.back()->load(r.path)) return false;
  }
  std::vector<double> header, game;
  for (int round = 0; round < rounds; ++round) {
    for (const bool facts : {false, true}) {
      const double start = cpuSeconds();
      for (const auto& file : files) {
        GameEntry entry;
        facts ? file->parseGame(entry) : file->parseHeader(entry);
      }
      (facts ? game : header).push_back(cpuSeconds() - start);
    }
  }
  const double h = median(header);
  const double g = median(game);
  std::printf("  in memory: parseHeader %.3f ms, parseGame %.3f ms a round; facts %.3f of parse\n",
              h * 1e3, g * 1e3, (g - h) / h);
  return true;
}

// Reading the objects at the start alone, on files loaded and parsed once,
// against load + parseHeader of the same run.
bool reportObjectsAlone(const std::vector<Recording>& recordings, int rounds, double parse) {
  struct Loaded {
    std::unique_ptr<RecordedGameFile> file = std::make_unique<RecordedGameFile>();
    GameEntry entry;
    HeaderLayout layout;
    int64_t from = 0;  // where the search for the lists starts
    int64_t listEnd = 0;
    ByteSpan header;
  };
  std::vector<Loaded> loaded(recordings.size());
  int read = 0;
  for (std::size_t i = 0; i < recordings.size(); ++i) {
    Loaded& l = loaded[i];
    if (!l.file->load(recordings[i].path)) return false;
    l.header =
        ByteSpan(l.file->headerBytes().data(), static_cast<std::size_t>(l.file->headerLength()));
    l.layout = layoutFor(l.file->version());
    if (l.file->version().family == VersionFamily::kDE) {
      const DefinitiveHeader parsed = parseDefinitiveHeader(l.header, l.layout.definitive, l.entry);
      if (parsed.block && parsed.mapRead) l.from = parsed.block->end;
    } else {
      const PlayerListPositions positions = parsePlayers(l.header, l.layout, l.entry);
      l.from = positions.tilesEnd;
      l.listEnd = positions.listEnd;
    }
  }
  std::vector<double> seconds;
  for (int round = 0; round < rounds; ++round) {
    read = 0;
    const double start = cpuSeconds();
    for (const Loaded& l : loaded) {
      const MapObjects objects =
          readStartingObjects(l.header, l.layout, l.from, l.listEnd, l.entry, false);
      read += objects.read ? 1 : 0;
    }
    seconds.push_back(cpuSeconds() - start);
  }
  const double objects = median(seconds);
  std::printf(
      "  objects alone (%d of %zu files read): %.3f ms a round, %.3f of load + parseHeader\n", read,
      recordings.size(), objects * 1e3, objects / parse);
  return true;
}

// The Definitive Edition's chat read from its messages' JSON alone, against
// the body walk that finds them, on files loaded once.
void reportChatAlone(const char* title, const std::vector<std::string>& paths, int rounds) {
  struct Loaded {
    std::unique_ptr<RecordedGameFile> file = std::make_unique<RecordedGameFile>();
    ByteSpan body;
    BodyLayout layout;
    BodyWalk walk;
    ChatSpeakers speakers;
  };
  std::vector<Loaded> loaded(paths.size());
  std::size_t messages = 0;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    Loaded& l = loaded[i];
    if (!l.file->load(paths[i])) return;
    l.body = ByteSpan(l.file->bodyBytes().data(), l.file->bodyBytes().size());
    l.layout = layoutFor(l.file->version()).body;
    l.walk = walkBody(l.body, l.file->bodyOffset(), l.layout);
    GameEntry entry;
    l.file->parseHeader(entry);
    for (std::size_t k = 1; k < GameEntry::kPositions; ++k) {
      const int32_t n = entry.playerNumbers[k];
      if (n >= 1 && n <= 8) l.speakers.names[static_cast<std::size_t>(n)] = entry.playerNames[k];
    }
    messages += l.walk.chat.size();
  }
  std::vector<double> walks, chats;
  std::size_t found = 0;  // what each side made, printed so that neither is left out
  std::size_t lineBytes = 0;
  for (int round = 0; round < rounds; ++round) {
    found = 0;
    lineBytes = 0;
    double start = cpuSeconds();
    for (const Loaded& l : loaded) {
      found += walkBody(l.body, l.file->bodyOffset(), l.layout).chat.size();
    }
    walks.push_back(cpuSeconds() - start);
    start = cpuSeconds();
    for (const Loaded& l : loaded) {
      lineBytes += collectDefinitiveChat(l.body, l.walk.chat, l.speakers).size();
    }
    chats.push_back(cpuSeconds() - start);
  }
  const double walk = median(walks);
  const double chat = median(chats);
  std::printf("  %s: %zu chat messages; body walk %.3f ms, their JSON read %.3f ms a round"
              " (%.2f us a message), %.4f of the walk (%zu messages walked, %zu bytes of lines)\n",
              title, messages, walk * 1e3, chat * 1e3,
              messages ? chat * 1e6 / static_cast<double>(messages) : 0.0, chat / walk, found,
              lineBytes);
}

// ns per inflated header byte of load + parseHeader and load + parseGame.
struct PerByte {
  double header = 0;
  double game = 0;
};

bool report(const char* title, const std::vector<Recording>& recordings, int rounds,
            PerByte& perByte) {
  int64_t fileBytes = 0, headerBytes = 0;
  for (const Recording& r : recordings) {
    fileBytes += r.fileBytes;
    headerBytes += r.headerBytes;
  }
  std::printf("%s: %zu files, %.2f MB of file, %.2f MB of inflated header\n", title,
              recordings.size(), static_cast<double>(fileBytes) / 1e6,
              static_cast<double>(headerBytes) / 1e6);
  bench::BaselineReads baseline;
  std::vector<Side> sides = makeSides(baseline);
  if (!measure(recordings, sides, rounds)) return false;
  const double a = median(sides[0].roundSeconds);
  const double b = median(sides[1].roundSeconds);
  std::printf("  %-26s %9s %9s %12s %7s %7s\n", "", "ms/round", "MB/s", "faults/call", "of (a)",
              "of (b)");
  for (const Side& side : sides) {
    const double t = median(side.roundSeconds);
    std::printf("  %-26s %9.2f %9.1f %12.1f %7.3f %7.3f\n", side.name, t * 1e3,
                static_cast<double>(fileBytes) / 1e6 / t,
                static_cast<double>(side.faults) / static_cast<double>(side.calls), a / t, b / t);
  }
  std::printf(
      "  (medians of %d rounds, process CPU time; \"of (a)\" is the speed as a share of"
      " (a)'s)\n",
      rounds);
  const double parse = median(sides[3].roundSeconds);
  const double facts = median(sides[4].roundSeconds) - parse;
  std::printf("  facts: %.3f ms a round, %.3f of load + parseHeader\n", facts * 1e3, facts / parse);
  const double game = median(sides[4].roundSeconds);
  const double play = median(sides[5].roundSeconds) - game;
  std::printf("  every command read (play): %.3f ms a round, %.3f of load + parseGame\n", play * 1e3,
              play / game);
  std::printf("  load + parseHeader: %.2f ns per inflated header byte\n",
              parse * 1e9 / static_cast<double>(headerBytes));
  perByte = {parse * 1e9 / static_cast<double>(headerBytes),
             median(sides[4].roundSeconds) * 1e9 / static_cast<double>(headerBytes)};
  return reportFactsAlone(recordings, rounds) && reportObjectsAlone(recordings, rounds, parse);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 15;
  std::string shared = MORVANE_RECORDINGS_DIR;
  bool holdMemory = true;
  for (int i = 1, positional = 0; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--glibc-defaults") {
      holdMemory = false;
    } else if (positional++ == 0) {
      rounds = std::max(1, std::atoi(argument.c_str()));
    } else {
      shared = argument;
    }
  }
  if (std::filesystem::is_directory(shared)) {
    fixtures::TempFolder peaks;
    // Freed memory goes straight back, so each call's peak is its own.
    mallopt(M_MMAP_THRESHOLD, 128 << 10);
    mallopt(M_TRIM_THRESHOLD, 128 << 10);
    if (peaks.ok()) reportPeaks(copiedRecordings(shared, peaks));
  }
  if (holdMemory) {
    // The baselines reuse their buffers; the reader allocates per call, so
    // glibc keeps what it frees (no trimming, no fresh mappings) to reuse it
    // the same way. The faults column shows whether that held.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
  }
  std::printf("allocator: %s\n", holdMemory
                                     ? "freed memory kept for reuse (as the baselines' buffers)"
                                     : "glibc defaults (trims and maps afresh)");
  fixtures::TempFolder scratch;
  if (!scratch.ok()) {
    std::fprintf(stderr, "cannot make a temporary folder\n");
    return 1;
  }
  bool good = true;
  if (std::filesystem::is_directory(shared)) {
    std::printf("real recordings from %s\n", shared.c_str());
    const std::vector<Recording> real = copiedRecordings(shared, scratch);
    // The earlier editions and the Definitive Edition side by side, per
    // inflated byte, in the same run.
    std::vector<Recording> earlier, definitive;
    for (const Recording& r : real) (r.definitive ? definitive : earlier).push_back(r);
    PerByte earlierCost, definitiveCost;
    good = earlier.empty() ||
           report("real recordings, earlier editions", earlier, rounds, earlierCost);
    good = (definitive.empty() || report("real recordings, Definitive Edition", definitive,
                                         rounds, definitiveCost)) &&
           good;
    if (!definitive.empty()) {
      std::vector<std::string> paths;
      for (const Recording& r : definitive) paths.push_back(r.path);
      reportChatAlone("Definitive Edition chat", paths, rounds);
    }
    if (!earlier.empty() && !definitive.empty() && earlierCost.header > 0) {
      std::printf(
          "Definitive Edition per inflated header byte, as a share of the earlier editions':"
          " load + parseHeader %.3f, load + parseGame %.3f\n",
          definitiveCost.header / earlierCost.header, definitiveCost.game / earlierCost.game);
    }
  } else {
    std::printf("no real recordings at %s\n", shared.c_str());
  }

  const fixtures::SampleGame game = realisticGame();
  const fixtures::SampleHeader header = buildHeader(game);
  Recording synthetic{scratch.file("synthetic.mgx")};
  if (!fixtures::writeRecording(synthetic.path, header.bytes, buildBody(game))) {
    std::fprintf(stderr, "cannot write the synthetic recording\n");
    return 1;
  }
  synthetic.fileBytes = static_cast<int64_t>(std::filesystem::file_size(synthetic.path));
  synthetic.headerBytes = static_cast<int64_t>(header.bytes.size());
  std::printf("\nsynthetic game: map type line %lld bytes below the search's first position\n",
              static_cast<long long>(synthetic.headerBytes - 18000 - header.mapTypeSpace));
  PerByte syntheticCost;
  good = report("synthetic game", {synthetic}, rounds, syntheticCost) && good;
  std::printf("\n");
  reportCraftedBodies(rounds);

  // A game of today's patch whose body is mostly chat: 20000 messages.
  fixtures::DefinitiveGame talkative = fixtures::twoPlayerDefinitiveGame(67.2f);
  const std::vector<fixtures::DefinitiveChatMessage> three = talkative.chat;
  for (int i = 0; i < 20000 / 3; ++i) {
    talkative.chat.insert(talkative.chat.end(), three.begin(), three.end());
  }
  const std::string chatty = scratch.file("chatty.aoe2record");
  if (!fixtures::writeRecording(chatty, fixtures::buildDefinitiveHeader(talkative),
                                fixtures::buildDefinitiveBody(talkative))) {
    std::fprintf(stderr, "cannot write the synthetic chat recording\n");
    return 1;
  }
  std::printf("\nsynthetic Definitive Edition game, chat through its body\n");
  reportChatAlone("synthetic chat", {chatty}, rounds);
  return good ? 0 : 1;
}
