// The built morvane-inspect run as other programs run it: its lines, its
// exit status, over a written recording and the real recordings.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "recording_writer/definitive_game.h"
#include "recording_writer/recording_writer.h"
#include "support/tiny_json.h"

namespace morvane {
namespace {

using testing_json::Value;

struct ToolRun {
  int status = -1;
  std::string out;
};

// out is stdout, or with errorsOnly what the tool writes to stderr (a pipe,
// never a terminal).
ToolRun inspect(const std::string& arguments, bool errorsOnly = false) {
  ToolRun run;
  const std::string command = std::string(MORVANE_INSPECT) + " " + arguments +
                              (errorsOnly ? " 2>&1 >/dev/null" : " 2>/dev/null");
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) out.push_back(line);
  return out;
}

Value parse(const std::string& text) {
  Value value;
  EXPECT_TRUE(testing_json::Parser(text).parse(value)) << text.substr(0, 200);
  return value;
}

// a is the truth file's value; null there pins nothing.
bool same(const Value& a, const Value& b) {
  if (a.kind == Value::Kind::kNull) return true;
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case Value::Kind::kBool:
      return a.boolean == b.boolean;
    case Value::Kind::kNumber:
      return a.number == b.number;
    case Value::Kind::kString:
      return a.text == b.text;
    case Value::Kind::kArray:
      if (a.items.size() != b.items.size()) return false;
      for (std::size_t i = 0; i < a.items.size(); ++i)
        if (!same(a.items[i], b.items[i])) return false;
      return true;
    case Value::Kind::kObject:
      if (a.members.size() != b.members.size()) return false;
      for (const auto& [key, value] : a.members)
        if (!b.has(key) || !same(value, b[key])) return false;
      return true;
    default:
      return true;
  }
}

class InspectRunTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.ok()); }
  fixtures::TempFolder folder;
};

TEST_F(InspectRunTest, WrittenRecordingGivesTheContractKeysInOrder) {
  ASSERT_TRUE(fixtures::writeSampleGame(folder.file("game.mgx"), fixtures::twoPlayerGame()));
  const ToolRun run = inspect(folder.file("game.mgx"));
  ASSERT_EQ(run.status, 0);
  const std::vector<std::string> out = lines(run.out);
  ASSERT_EQ(out.size(), 1u);
  std::size_t at = 0;
  for (const char* key :
       {"file", "loaded", "headerLength", "bodyLength", "mapName", "mapWidth", "mapHeight",
        "mapTilesCrc32", "povIndex", "povName", "playerCount", "playerNumbers", "playerNames",
        "slots", "teamLabels", "lobbyChat", "gameChat", "mapId", "codePage", "play",
        "supported", "version"}) {
    const std::size_t found = out[0].find(std::string("\"") + key + "\":", at);
    ASSERT_NE(found, std::string::npos) << key;
    at = found;
  }
  const Value game = parse(out[0]);
  EXPECT_EQ(game["file"].text, folder.file("game.mgx"));
  EXPECT_EQ(game["mapName"].text, "Arabia");
  EXPECT_EQ(game["povIndex"].number, 2);
  EXPECT_EQ(game["povName"].text, "Bob");
  EXPECT_EQ(game["playerNames"][1].text, "Alice");
  EXPECT_EQ(game["slots"][2]["civId"].number, 7);
  EXPECT_EQ(game["playerNumbers"].items.size(), 9u);
  // Only a header that states when the game was played gives that time.
  EXPECT_FALSE(game.has("playedAt"));
  fixtures::DefinitiveGame definitive = fixtures::twoPlayerDefinitiveGame(63.0f);
  definitive.playedAt = 1651256760;
  ASSERT_TRUE(fixtures::writeRecording(folder.file("de.aoe2record"),
                                       fixtures::buildDefinitiveHeader(definitive),
                                       fixtures::buildDefinitiveBody(definitive)));
  EXPECT_EQ(parse(lines(inspect(folder.file("de.aoe2record")).out).at(0))["playedAt"].text,
            "2022-04-29T18:26:00Z");
}

// Names are decoded with the code page the recording was written in (here
// told by its Chinese map type label) unless --codepage names another.
TEST_F(InspectRunTest, FoundCodePageDecodesUnlessOneIsGiven) {
  fixtures::SampleGame sample = fixtures::twoPlayerGame();
  sample.mapLabel = std::string(fixtures::kLabelChinese);
  sample.players[1].name = "\xCB\xAB\xD3\xE3";
  ASSERT_TRUE(fixtures::writeSampleGame(folder.file("game.mgx"), sample));
  Value game = parse(lines(inspect(folder.file("game.mgx")).out).at(0));
  EXPECT_EQ(game["codePage"].number, 936);
  EXPECT_EQ(game["playerNames"][2].text, "\xE5\x8F\x8C\xE9\xB1\xBC");
  game = parse(lines(inspect("--codepage 1252 " + folder.file("game.mgx")).out).at(0));
  EXPECT_EQ(game["codePage"].number, 936);
  EXPECT_EQ(game["playerNames"][2].text, "\xC3\x8B\xC2\xAB\xC3\x93\xC3\xA3");
}

TEST_F(InspectRunTest, PlayersFileMapsThePovNameAndRawGivesHex) {
  ASSERT_TRUE(fixtures::writeSampleGame(folder.file("game.mgx"), fixtures::twoPlayerGame()));
  ASSERT_TRUE(fixtures::writeFile(folder.file("player.txt"), {'B', 'o', 'b', '\t', 'R', '\n'}));
  Value game = parse(lines(
      inspect("--players " + folder.file("player.txt") + " " + folder.file("game.mgx")).out)[0]);
  EXPECT_EQ(game["povName"].text, "R");
  EXPECT_EQ(game["playerNames"][2].text, "Bob");
  game = parse(lines(inspect("--raw " + folder.file("game.mgx")).out)[0]);
  EXPECT_EQ(game["povName"].text, "426f62");
}

TEST_F(InspectRunTest, ExitStatusTellsFailedLoadsAndUsageErrors) {
  ASSERT_TRUE(fixtures::writeSampleGame(folder.file("good.mgx"), fixtures::twoPlayerGame()));
  ASSERT_TRUE(fixtures::writeFile(folder.file("bad.mgx"), {1, 2, 3}));
  ASSERT_TRUE(fixtures::writeFile(folder.file("skipped.mgx.txt"), {1, 2, 3}));
  const ToolRun run = inspect(folder.path());
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> out = lines(run.out);
  ASSERT_EQ(out.size(), 2u);
  const Value bad = parse(out[0]);
  EXPECT_EQ(bad["file"].text, folder.path() + "/bad.mgx");
  EXPECT_FALSE(bad["loaded"].boolean);
  EXPECT_TRUE(bad.has("error"));
  EXPECT_FALSE(bad.has("mapName"));
  EXPECT_FALSE(bad["supported"].boolean) << "no header was read";
  EXPECT_TRUE(parse(out[1])["loaded"].boolean);
  EXPECT_EQ(inspect(folder.file("good.mgx")).status, 0);
  EXPECT_EQ(inspect(folder.file("missing.mgx")).status, 2);
  EXPECT_EQ(inspect("--bogus " + folder.file("good.mgx")).status, 2);
  EXPECT_EQ(inspect("--codepage 77777 " + folder.file("good.mgx")).status, 2);
  EXPECT_EQ(inspect("").status, 2);
}

TEST_F(InspectRunTest, IndexCountsWhatItReadsAndRebuildsADamagedIndexOnRequest) {
  std::filesystem::create_directories(folder.file("games/2024"));
  ASSERT_TRUE(fixtures::writeSampleGame(folder.file("games/a.mgx"), fixtures::twoPlayerGame()));
  ASSERT_TRUE(fixtures::writeSampleGame(folder.file("games/2024/b.mgx"), fixtures::eightPlayerGame()));
  ASSERT_TRUE(fixtures::writeFile(folder.file("games/2024/bad.mgx"), {1, 2, 3}));
  const std::string index = folder.file("index.sqlite");
  const std::string paths = "--index " + index + " --recursive " + folder.file("games");
  ToolRun run = inspect(paths);
  EXPECT_EQ(run.status, 1) << "one recording did not load";
  Value counts = parse(lines(run.out).at(0));
  EXPECT_EQ(counts["found"].number, 3);
  EXPECT_EQ(counts["read"].number, 3);
  EXPECT_EQ(counts["notLoaded"].number, 1);
  EXPECT_EQ(counts["games"].number, 2);
  run = inspect(paths);
  EXPECT_EQ(run.status, 0) << "nothing read";
  counts = parse(lines(run.out).at(0));
  EXPECT_EQ(counts["read"].number, 0);
  EXPECT_EQ(counts["unchanged"].number, 3);

  ASSERT_TRUE(fixtures::writeFile(index, std::vector<uint8_t>(4096, 0x5A)));
  run = inspect(paths, true);
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.out.find(index), std::string::npos) << run.out;
  run = inspect("--rebuild " + paths);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(parse(lines(run.out).at(0))["read"].number, 3);
}

// PNG files start with their signature and the IHDR chunk: width, height.
TEST_F(InspectRunTest, MinimapWritesAPictureOfEachRecordingThatLoads) {
  ASSERT_TRUE(fixtures::writeSampleGame(folder.file("good.mgx"), fixtures::twoPlayerGame()));
  ASSERT_TRUE(fixtures::writeFile(folder.file("bad.mgx"), {1, 2, 3}));
  const std::string pictures = folder.file("pictures");
  const ToolRun run = inspect("--minimap " + pictures + " --minimap-size 64 " + folder.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(lines(run.out).size(), 2u);
  const std::vector<uint8_t> png = fixtures::readFile(pictures + "/good.png");
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(std::string(png.begin(), png.begin() + 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 24),
            std::string("IHDR\0\0\0\x40\0\0\0\x20", 12));
  EXPECT_TRUE(fixtures::readFile(pictures + "/bad.png").empty());
  EXPECT_EQ(
      inspect("--minimap-size 7 --minimap " + pictures + " " + folder.file("good.mgx")).status, 2);
}

TEST_F(InspectRunTest, ThreadsPrintTheSameBytesAsOneThread) {
  // Games of very different sizes, so that threads finish out of order.
  for (int n = 0; n < 24; ++n) {
    fixtures::SampleGame game = fixtures::twoPlayerGame();
    game.players[0].name = "P" + std::to_string(n);
    game.mapText = "Map " + std::to_string(n);
    if (n % 5 == 0) game.minimumHeaderLength = 1500000 + 10000 * n;
    game.noiseSeed = static_cast<uint32_t>(n + 1);
    const std::string name = std::string(1, static_cast<char>('a' + n)) + ".mgx";
    ASSERT_TRUE(fixtures::writeSampleGame(folder.file(name), game));
  }
  ASSERT_TRUE(fixtures::writeFile(folder.file("m-bad.mgx"), {1, 2, 3}));
  // The same file under three spellings, and within the folder.
  const std::string paths = folder.path() + " " + folder.file("c.mgx") + " " + folder.path() +
                            "//c.mgx " + folder.file("c.mgx");
  const ToolRun one = inspect("--jobs 1 " + paths);
  EXPECT_EQ(one.status, 1);
  EXPECT_EQ(lines(one.out).size(), 28u);
  for (const char* jobs : {"--jobs 3 ", "--jobs 8 ", ""}) {
    const ToolRun many = inspect(jobs + paths);
    EXPECT_EQ(many.status, one.status) << jobs;
    EXPECT_TRUE(many.out == one.out) << jobs;
  }
  EXPECT_EQ(inspect(paths, true).out, "");  // no progress line into a pipe
  EXPECT_EQ(folder.listing().find("tmp"), std::string::npos);
}

// Archives and shares are read, never written: not even a temporary file
// appears for a moment. Making and removing one would move the folder's
// modification time, set a year back first.
TEST_F(InspectRunTest, NeverWritesIntoTheFolderItReads) {
  namespace fs = std::filesystem;
  ASSERT_TRUE(fixtures::writeSampleGame(folder.file("game.mgx"), fixtures::twoPlayerGame()));
  const fs::path real = fs::path(MORVANE_RECORDINGS_DIR) / "aoc-1.0c.mgx";
  const bool withReal = fs::exists(real);
  if (withReal) fs::copy_file(real, folder.file("aoc-1.0c.mgx"));
  const std::string listing = folder.listing();
  fs::last_write_time(folder.path(),
                      fs::last_write_time(folder.path()) - std::chrono::hours(24 * 365));
  const fs::file_time_type stamped = fs::last_write_time(folder.path());

  const ToolRun run = inspect("--jobs 2 " + folder.path());
  EXPECT_EQ(run.status, 0);
  const std::vector<std::string> out = lines(run.out);
  ASSERT_EQ(out.size(), withReal ? 2u : 1u);
  const Value game = parse(out.back());
  EXPECT_EQ(game["mapName"].text, "Arabia");
  if (withReal) {
    EXPECT_EQ(parse(out[0])["headerLength"].number, 667882);
  }
  EXPECT_EQ(folder.listing(), listing);
  EXPECT_TRUE(fs::last_write_time(folder.path()) == stamped) << "a file was made and removed";
}

TEST(InspectRealRecordingsTest, RawOutputMatchesTheTruthFields) {
  const std::string dir = MORVANE_RECORDINGS_DIR;
  std::ifstream sums(dir + "/SHA256SUMS");
  if (!sums) GTEST_SKIP() << "no recordings at " << dir;
  int compared = 0;
  for (const char* name :
       {"ai_test.mgx", "aoc-1.0c.mgx", "aoc10a_4v4_standard_1.mgx", "aok-2.0a.mgl", "coop.mgx",
        "coop_1v1_civ40.mgx", "headerlen_is_missing.mgx", "scenario_fa80.mgx", "small.mgz"}) {
    std::ifstream file(dir + "/" + name + ".truth.json");
    ASSERT_TRUE(file) << name;
    const Value expected = parse(std::string(std::istreambuf_iterator<char>(file), {}));
    const Value actual = parse(lines(inspect("--raw " + dir + "/" + name).out).at(0));
    std::set<std::string> open;
    if (expected.has("undefined"))
      for (const Value& field : expected["undefined"].items) open.insert(field.text);
    for (const auto& [key, value] : expected.members) {
      if (key == "undefined" || open.count(key)) continue;
      ASSERT_TRUE(actual.has(key)) << name << " " << key;
      EXPECT_TRUE(same(value, actual[key])) << name << " " << key;
    }
    ++compared;
  }
  EXPECT_EQ(compared, 9);
}

// play against one public reader's walk of the same game, where the two
// agree (the research of the Definitive Edition's rewritten commands), with
// each technology named in English and the rate from the count and time.
TEST(InspectRealRecordingsTest, PlayGivesEachPlayersResearchNamedAndTheirRate) {
  const std::string dir = MORVANE_RECORDINGS_DIR;
  std::ifstream file(dir + "/de-63.0.aoe2record.play.json");
  if (!file) GTEST_SKIP() << "no recordings at " << dir;
  const Value theirs = parse(std::string(std::istreambuf_iterator<char>(file), {}));
  const Value play = parse(lines(inspect(dir + "/de-63.0.aoe2record").out).at(0))["play"];
  const double minutes = static_cast<double>(play["durationMs"].number) / 60000.0;
  ASSERT_EQ(play["players"].members.size(), theirs["players"].members.size());
  for (const auto& [number, player] : theirs["players"].members) {
    const Value& ours = play["players"][number];
    EXPECT_NEAR(ours["apm"].real, static_cast<double>(ours["actions"].number) / minutes, 0.01);
    ASSERT_EQ(ours["research"].items.size(), player["research"].items.size()) << number;
    for (std::size_t i = 0; i < ours["research"].items.size(); ++i) {
      const Value& r = ours["research"][i];
      EXPECT_EQ(r[0].number, player["research"][i][0].number);
      EXPECT_EQ(r[1].number, player["research"][i][1].number);
      EXPECT_EQ(r[2].kind, Value::Kind::kString);
      if (r[1].number == 22) {
        EXPECT_EQ(r[2].text, "Loom");
      }
    }
  }
}

}  // namespace
}  // namespace morvane
