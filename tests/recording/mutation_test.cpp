// Damaged headers and bodies, made by seeded mutation of good games: the
// parse must never read or write out of bounds (the sanitizer build checks
// every access) and must keep the entry's own limits.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"

namespace morvane {
namespace {

using fixtures::SampleGame;
using fixtures::SampleHeader;

constexpr uint32_t kBaseSeed = 20240611;
constexpr int kIterations = 300;

std::vector<SampleGame> goodGames() {
  std::vector<SampleGame> games;
  games.push_back(fixtures::twoPlayerGame());

  games.push_back(fixtures::eightPlayerGame());

  SampleGame scenario = fixtures::twoPlayerGame();
  fixtures::ScenarioRecord record;
  record.a = 12;
  record.b = 3;
  record.w = 2;
  record.subRecords = {fixtures::SubRecord{-1, 4, 6}, fixtures::SubRecord{3, 0, 2}};
  scenario.scenarioRecords = {record, fixtures::ScenarioRecord{}};
  games.push_back(scenario);
  return games;
}

// Offsets worth aiming at: the fields the parser reads.
std::vector<int64_t> hotSpots(const SampleHeader& h) {
  std::vector<int64_t> spots = {10, 12, 18, 24};
  for (int64_t d : {45, 47, 110, 114, 118, 122}) spots.push_back(h.map.mapBase + d);
  for (int64_t base : {h.map.afterRecords, h.map.civSearchStart, h.mapTypeSpace, h.listStart,
                       h.listEnd, h.teamBytesOffset, h.chatScanStart}) {
    for (int64_t d = -8; d < 64; d += 4) spots.push_back(base + d);
  }
  return spots;
}

void mutate(std::vector<uint8_t>& bytes, const std::vector<int64_t>& spots, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 4);
  for (int e = 0; e < edits && !bytes.empty(); ++e) {
    int64_t at = static_cast<int64_t>(random() % bytes.size());
    if (!spots.empty() && random() % 4 != 0) {
      at = spots[random() % spots.size()] + static_cast<int64_t>(random() % 4);
    }
    if (at < 0 || at >= static_cast<int64_t>(bytes.size())) continue;
    const auto pos = bytes.begin() + static_cast<std::ptrdiff_t>(at);
    switch (random() % 6) {
      case 0:
        *pos = static_cast<uint8_t>(*pos ^ (1u << (random() % 8)));
        break;
      case 1: {
        static const uint8_t extremes[] = {0x00, 0xFF, 0x7F, 0x80, 0x01};
        *pos = extremes[random() % 5];
        break;
      }
      case 2: {  // an extreme int32
        static const uint32_t values[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x00010000, 256};
        const uint32_t v = values[random() % 5];
        for (int i = 0; i < 4 && at + i < static_cast<int64_t>(bytes.size()); ++i) {
          bytes[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(v >> (8 * i));
        }
        break;
      }
      case 3:
        bytes.insert(pos, 1 + random() % 16, static_cast<uint8_t>(random()));
        break;
      case 4: {
        const auto count = std::min<std::size_t>(1 + random() % 16, bytes.end() - pos);
        bytes.erase(pos, pos + static_cast<long>(count));
        break;
      }
      default:
        bytes.resize(static_cast<std::size_t>(at));  // cut the header short here
        break;
    }
  }
}

void expectEntryWithinLimits(const GameEntry& e, bool headerEmpty) {
  if (!headerEmpty) {
    EXPECT_FALSE(e.mapName.empty()) << "a parsed game always has a map name";
  }
  EXPECT_LE(e.mapName.size(), 100u);
  for (int k = 0; k < GameEntry::kPositions; ++k) {
    EXPECT_EQ(e.slots[k].name[255], '\0') << k;
    EXPECT_LE(e.playerNames[k].size(), 255u) << k;
  }
  for (const std::string* chat : {&e.lobbyChat, &e.gameChat}) {
    std::size_t lineStart = 0;
    for (std::size_t i = chat->find("\r\n"); i != std::string::npos;
         i = chat->find("\r\n", i + 2)) {
      EXPECT_LE(i - lineStart, 252u) << "a message holds at most 255 bytes with its marker";
      lineStart = i + 2;
    }
    EXPECT_EQ(lineStart, chat->size()) << "every chat line ends with CR LF";
  }
}

TEST(MutationTest, DamagedGamesNeverBreakTheParse) {
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string path = folder.file("mutated.mgx");
  const std::vector<SampleGame> games = goodGames();
  std::vector<SampleHeader> headers;
  std::vector<std::vector<uint8_t>> bodies;
  for (const SampleGame& game : games) {
    headers.push_back(buildHeader(game));
    bodies.push_back(buildBody(game));
  }

  for (int i = 0; i < kIterations; ++i) {
    const uint32_t seed = kBaseSeed + static_cast<uint32_t>(i);
    SCOPED_TRACE("mutation seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::size_t which = random() % games.size();
    std::vector<uint8_t> header = headers[which].bytes;
    std::vector<uint8_t> body = bodies[which];
    mutate(header, hotSpots(headers[which]), random);
    if (random() % 3 == 0) mutate(body, {}, random);

    ASSERT_TRUE(fixtures::writeRecording(path, header, body));
    RecordedGameFile file;
    ASSERT_TRUE(file.load(path)) << describe(file.lastError());
    ASSERT_EQ(file.headerLength(), static_cast<int32_t>(header.size()));
    GameEntry entry;
    file.parseHeader(entry);
    expectEntryWithinLimits(entry, header.empty());
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(MutationTest, DamagedContainersAnswerWithoutCrashing) {
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string path = folder.file("mutated.mgx");
  const SampleGame game = fixtures::twoPlayerGame();
  const std::vector<uint8_t> good = fixtures::containerBytes(
      fixtures::Layout::kMgx, fixtures::rawDeflate(buildHeader(game).bytes), buildBody(game));
  for (int i = 0; i < 100; ++i) {
    const uint32_t seed = kBaseSeed + 100000 + static_cast<uint32_t>(i);
    SCOPED_TRACE("mutation seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes = good;
    mutate(bytes, {0, 1, 2, 3, 8, 9, 10, 11, 12, 16, 40, 100}, random);
    ASSERT_TRUE(fixtures::writeFile(path, bytes));
    RecordedGameFile file;
    if (file.load(path)) {
      GameEntry entry;
      file.parseHeader(entry);
      expectEntryWithinLimits(entry, file.headerLength() == 0);
    } else {
      EXPECT_NE(file.lastError(), LoadError::kNone);
    }
    EXPECT_EQ(folder.listing(), "mutated.mgx") << "no temporary file is left behind";
    if (::testing::Test::HasFailure()) return;
  }
}

}  // namespace
}  // namespace morvane
