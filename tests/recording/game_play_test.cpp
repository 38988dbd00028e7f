// How each player played: bodies written in each command form, read back
// per player, and the shared real recordings against one public reader's
// walk of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "recording/command_walk.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/body_builder.h"
#include "recording_writer/definitive_game.h"
#include "recording_writer/recording_writer.h"
#include "recording_writer/temp_folder.h"
#include "support/shared_recordings.h"
#include "support/tiny_json.h"

namespace morvane {
namespace {

using fixtures::BodyBuilder;
using fixtures::CommandLayout;
using testing_json::Value;

// One line per player, then what no player got: every field a case can get
// wrong, in an order a reader can check against the commands written.
std::string summary(const GamePlay& play) {
  std::ostringstream out;
  for (const auto& [number, p] : play.players) {
    out << "p" << number << " a" << p.actions << " m[";
    for (const int32_t n : p.actionsByMinute) out << n << ",";
    out << "] r[";
    for (const ResearchOrder& r : p.research) out << r.timeMs << ":" << r.techId << " ";
    out << "] b[";
    for (const BuildOrder& b : p.buildings) {
      out << b.timeMs << ":" << b.buildingId << "@" << b.at.x << "," << b.at.y;
      if (b.to) out << "-" << b.to->x << "," << b.to->y;
      out << " ";
    }
    out << "] u[";
    for (const TrainOrder& u : p.units) out << u.timeMs << ":" << u.unitId << "x" << u.count << " ";
    out << "] t[";
    for (const TributeSent& t : p.tributes) {
      out << t.timeMs << ":>" << t.toPlayer << " " << t.resource << " " << t.amount << " " << t.fee
          << " ";
    }
    out << "] s[";
    for (const MarketTrade& t : p.trades) {
      out << t.timeMs << ":" << (t.buy ? "buy " : "sell ") << t.resource << "x" << t.amount << " ";
    }
    out << "]; ";
  }
  out << "unattributed " << play.unattributed << "; undecoded";
  for (const auto& [type, count] : play.undecoded) out << " " << type << ":" << count;
  return out.str();
}

BodyLayout layoutOf(CommandLayout form) {
  BodyLayout layout;  // the earlier editions'
  if (form == CommandLayout::kDefinitive) applyDefinitiveBuild(66692, layout);
  if (form == CommandLayout::kRewritten) applyDefinitiveBuild(kResearchRewrittenBuild, layout);
  return layout;
}

PlayStart twoPlayers() {
  PlayStart start;
  start.players = (1u << 1) | (1u << 2);
  start.seats = {0, 1, 2};
  return start;
}

struct PlayCase {
  const char* name;
  CommandLayout form;
  std::function<void(BodyBuilder&)> write;
  std::function<void(PlayStart&)> header;  // what the header tells, beyond two players
  std::string expected;
};

const PlayCase kPlayCases[] = {
    // Research at building 500 makes it player 1's: the queue there is
    // theirs, and so is a queue at several buildings one of which is 500.
    {"EarlierEditionsForms", CommandLayout::kEarlier,
     [](BodyBuilder& b) { b.playSample(CommandLayout::kEarlier); }, nullptr,
     "p1 a5 m[2,3,] r[1000:22 ] b[61000:72@3,4-9,4 ] u[61000:83x2 61000:4x1 ] "
     "t[61000:>2 3 100 0.3 ] s[61000:sell 0x2 ]; "
     "p2 a3 m[2,1,] r[] b[1000:70@12.5,30 ] u[] t[] s[61000:buy 1x1 ]; "
     "unattributed 1; undecoded 102:1 238:1"},
    {"DefinitiveEditionForms", CommandLayout::kDefinitive,
     [](BodyBuilder& b) { b.playSample(CommandLayout::kDefinitive); }, nullptr,
     "p1 a5 m[2,3,] r[1000:22 ] b[61000:72@3,4-9,4 ] u[] "
     "t[61000:>2 1 100 0 61000:>2 3 50 0 ] s[61000:sell 0x2 ]; "
     "p2 a4 m[2,2,] r[] b[1000:70@12.5,30 ] u[61000:83x3 ] t[] s[61000:buy 1x1 ]; "
     "unattributed 0; undecoded 102:1 238:1"},
    // The build cut short still names its player in a whole frame.
    {"DefinitiveEditionRewrittenForms", CommandLayout::kRewritten,
     [](BodyBuilder& b) { b.playSample(CommandLayout::kRewritten); }, nullptr,
     "p1 a6 m[2,4,] r[1000:22 ] b[61000:72@3,4-9,4 ] u[] "
     "t[61000:>2 1 100 0 61000:>2 3 50 0 ] s[61000:sell 0x2 ]; "
     "p2 a4 m[2,2,] r[] b[1000:70@12.5,30 ] u[61000:83x3 ] t[] s[61000:buy 1x1 ]; "
     "unattributed 0; undecoded 102:1 238:1"},
    // The header's town centre is player 2's; a co-op partner's commands
    // name its list position 3, which is player 2's; player 5 is not in the
    // game; a restored game's commands are at its own time.
    {"HeaderBuildingsCoopSeatsAndRestoredTime", CommandLayout::kEarlier,
     [](BodyBuilder& b) {
       b.timeStep(500);
       b.queue(900, 83, 1);
       b.order(CommandLayout::kEarlier, 0x03, 3, {});
       b.order(CommandLayout::kEarlier, 0x03, 5, {});
       b.command({0x0A, 1, 0, 0});  // a computer's order: no player of its own
     },
     [](PlayStart& s) {
       s.owners[900] = 2;
       s.seats[3] = 2;
       s.restoredAtMs = 150000;
     },
     "p2 a1 m[0,0,1,] r[] b[] u[150500:83x1 ] t[] s[]; unattributed 0; undecoded"},
    // The rewrite: an AI order names its player but is not the player's
    // action; a command whose stated field length disagrees is not read.
    {"RewrittenAiOrdersAndBrokenFrames", CommandLayout::kRewritten,
     [](BodyBuilder& b) {
       b.timeStep(500);
       b.rewritten(0x0A, 1, std::vector<uint8_t>(20, 0));
       b.rewritten(0x12, 2, std::vector<uint8_t>(12, 0));  // a stance: counted
       b.command({0x66, 2, 30, 0, 0, 0, 0, 0});
     },
     nullptr,
     "p1 a0 m[] r[] b[] u[] t[] s[]; p2 a1 m[1,] r[] b[] u[] t[] s[]; unattributed 0; "
     "undecoded 102:1"},
};

void PrintTo(const PlayCase& c, std::ostream* os) { *os << c.name; }

class PlayTest : public testing::TestWithParam<PlayCase> {};

TEST_P(PlayTest, ReadsEachPlayersCommands) {
  const PlayCase& c = GetParam();
  BodyBuilder body;
  body.start();
  c.write(body);
  const std::vector<uint8_t> bytes = body.take();
  PlayStart start = twoPlayers();
  if (c.header) c.header(start);
  const GamePlay play =
      readGamePlay(ByteSpan(bytes.data(), bytes.size()), 0, layoutOf(c.form), start);
  EXPECT_EQ(summary(play), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Forms, PlayTest, testing::ValuesIn(kPlayCases),
                         [](const testing::TestParamInfo<PlayCase>& param) {
                           return std::string(param.param.name);
                         });

// The walk in the build's form from a whole recording, the header's build
// choosing it.
// The later edition keeps the earlier forms but for its walls.
TEST(PlayTest, LaterEditionsWallsHaveTheirEndsInShorts) {
  BodyBuilder body;
  body.start();
  body.timeStep(500);
  body.wall(CommandLayout::kDefinitive, 1, 117, 159, 54, 175, 54);
  const std::vector<uint8_t> bytes = body.take();
  BodyLayout layout;
  layout.wallEndsInShorts = true;
  const GamePlay play = readGamePlay(ByteSpan(bytes.data(), bytes.size()), 0, layout, twoPlayers());
  EXPECT_EQ(summary(play),
            "p1 a1 m[1,] r[] b[500:117@159,54-175,54 ] u[] t[] s[]; unattributed 0; undecoded");
}

TEST(PlayTest, DefinitiveRecordingReadInItsBuildsForm) {
  for (const float save : {26.21f, 63.0f}) {
    SCOPED_TRACE(save);
    fixtures::DefinitiveGame game = fixtures::twoPlayerDefinitiveGame(save);
    fixtures::TempFolder folder;
    const std::string path = folder.file("game.aoe2record");
    ASSERT_TRUE(fixtures::writeFile(
        path, fixtures::containerBytes(fixtures::Layout::kMgx,
                                       fixtures::rawDeflate(fixtures::buildDefinitiveHeader(game)),
                                       fixtures::buildDefinitiveBody(game))));
    RecordedGameFile file;
    ASSERT_TRUE(file.load(path, InflateTarget::kMemory));
    GameEntry entry;
    file.parseGame(entry);
    const GamePlay play = readGamePlay(file, entry);
    std::vector<std::pair<int32_t, int32_t>> research;  // player, technology
    for (const auto& [number, p] : play.players)
      for (const ResearchOrder& r : p.research) research.emplace_back(number, r.techId);
    std::sort(research.begin(), research.end());
    const std::vector<std::pair<int32_t, int32_t>> written = {
        {1, 101}, {1, 102}, {2, 22}, {2, 101}, {2, 101}};
    EXPECT_EQ(research, written);
    EXPECT_TRUE(play.undecoded.empty());
  }
}

// Where the public reader's walk and the layout agree, exactly: the time
// walked, the effective actions of the earlier editions and the Definitive
// Edition before its rewrite, each build command, and the research it read
// a technology for. Known differences, where the layout wins:
// - research commands of 24 and 28 bytes in the earlier editions: it reads
//   their technology at byte 12, we at 10 where every length has it (it
//   gives -1, left out of its file), so only its list is checked as ours;
// - walls: it lists build commands only, so ours are compared without them;
// - co-op partners: their commands name their list position, which it
//   counts as a player of its own and we as that position's player;
// - the rewrite: it drops commands whose fields its formats overrun (the
//   gather point's among them), so ours may only be more;
// - player 8's formation command for one unit: its stated bytes after the
//   player field happen to equal that field, which it takes for the
//   rewrite's frame, and drops; ours may be more there too.
TEST(RealPlayTest, AgreesWithThePublicReadersWalk) {
  if (!std::filesystem::is_directory(MORVANE_RECORDINGS_DIR)) {
    GTEST_SKIP() << "no shared recordings at " << MORVANE_RECORDINGS_DIR;
  }
  const std::vector<std::string> names =
      fixtures::recordingsWith(MORVANE_RECORDINGS_DIR, ".play.json");
  ASSERT_FALSE(names.empty());
  const std::filesystem::path dir(MORVANE_RECORDINGS_DIR);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const auto json = fixtures::readFile((dir / (name + ".play.json")).string());
    Value expected;
    ASSERT_TRUE(testing_json::Parser(std::string(json.begin(), json.end())).parse(expected));
    RecordedGameFile file;
    if (!file.load((dir / name).string(), InflateTarget::kMemory)) continue;
    GameEntry entry;
    file.parseGame(entry);
    const GamePlay play = readGamePlay(file, entry);
    const GameFacts& facts = entry.facts.read();
    const bool rewritten =
        facts.definitiveBuild && *facts.definitiveBuild >= kResearchRewrittenBuild;
    std::set<int32_t> numbers(entry.playerNumbers.begin(), entry.playerNumbers.end());
    const bool coop = std::count_if(entry.playerNumbers.begin(), entry.playerNumbers.end(),
                                    [](int32_t n) { return n > 0; }) >
                      static_cast<std::ptrdiff_t>(numbers.size() - numbers.count(0));
    if (!facts.restored()) {
      EXPECT_LE(std::abs(play.durationMs - expected["durationMs"].number), 100);
    }
    for (const auto& [key, theirs] : expected["players"].members) {
      SCOPED_TRACE("player " + key);
      const auto found = play.players.find(std::stoi(key));
      if (coop && found == play.players.end()) continue;  // a partner's position
      ASSERT_NE(found, play.players.end());
      const PlayerPlay& ours = found->second;
      if (rewritten || key == "8") {
        EXPECT_GE(ours.actions, theirs["actions"].number);
      } else if (!coop) {
        EXPECT_EQ(ours.actions, theirs["actions"].number);
      }
      std::vector<std::pair<int64_t, int32_t>> builds, theirBuilds;
      for (const BuildOrder& b : ours.buildings)
        if (!b.to) builds.emplace_back(b.timeMs, b.buildingId);
      for (const Value& b : theirs["build"].items)
        theirBuilds.emplace_back(b[0].number, b[1].number);
      EXPECT_EQ(builds, theirBuilds);
      // Walls the public reader leaves out: each a building the game has.
      for (const BuildOrder& b : ours.buildings) {
        if (b.to) {
          EXPECT_LT(b.buildingId, 2000) << b.timeMs;
        }
      }
      std::multiset<std::pair<int64_t, int32_t>> research;
      for (const ResearchOrder& r : ours.research) research.emplace(r.timeMs, r.techId);
      for (const Value& r : theirs["research"].items) {
        EXPECT_GE(research.count({r[0].number, static_cast<int32_t>(r[1].number)}), 1u)
            << r[0].number << " " << r[1].number;
      }
    }
  }
}

}  // namespace
}  // namespace morvane
