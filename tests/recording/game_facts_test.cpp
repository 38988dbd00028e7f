// Game length, result and settings: bodies written with known operations,
// hostile bodies that must end in bounded time with what was read, and the
// shared real recordings against the values other readers agree on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "recording/map_names.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/definitive_game.h"
#include "recording_writer/recording_writer.h"
#include "recording_writer/temp_folder.h"
#include "support/shared_recordings.h"
#include "support/tiny_json.h"

namespace morvane {

bool operator==(const Resignation& a, const Resignation& b) {
  return a.player == b.player && a.timeMs == b.timeMs;
}

bool operator==(const AgeTimes& a, const AgeTimes& b) { return a.ms == b.ms; }

void PrintTo(const AgeTimes& t, std::ostream* os) {
  for (const auto& ms : t.ms) *os << (ms ? std::to_string(*ms) : "-") << " ";
}

namespace {

using fixtures::BodyBuilder;
using fixtures::PostGameRecord;
using fixtures::SampleGame;
using fixtures::SamplePlayer;

struct Parsed {
  bool loaded = false;
  VersionFamily family = VersionFamily::kUnknown;
  GameEntry entry;
  const GameFacts& facts() const { return entry.facts.read(); }
};

Parsed parseGame(const std::string& path) {
  Parsed parsed;
  RecordedGameFile file;
  parsed.loaded = file.load(path);
  if (parsed.loaded) file.parseGame(parsed.entry);
  parsed.family = file.version().family;
  return parsed;
}

// The file offset of the body the writer puts after this header.
int64_t bodyOffsetFor(const SampleGame& game) {
  return 8 + static_cast<int64_t>(fixtures::rawDeflate(fixtures::buildHeader(game).bytes).size());
}

// Two teams of two, players 1 and 3 against 2 and 4; player 1 plays from two
// seats (list positions 1 and 5).
SampleGame coopGame() {
  SampleGame game;
  game.layout = fixtures::conquerorsLayout();
  game.players = {SamplePlayer{1, "Ann", 1, 0, 2}, SamplePlayer{2, "Bo", 2, 1, 3},
                  SamplePlayer{3, "Cy", 3, 2, 2}, SamplePlayer{4, "Di", 4, 3, 3},
                  SamplePlayer{1, "Ed", 1, 0, 2}};
  game.playerCount = 4;
  return game;
}

struct BodyCase {
  const char* name;
  // Writes the body after its start record; offset is the body's file offset.
  void (*write)(BodyBuilder& body, int64_t offset);
  int64_t durationMs;
  std::vector<Resignation> resignations;
  std::optional<std::vector<int32_t>> winners;
  BodyStop stop = BodyStop::kEnd;
  bool withSpectator = false;  // player 5 watches, without a team
  std::map<int32_t, AgeTimes> ageUps = {};
  // The post-game block's records, where the case pins them. By player
  // number: total score, units killed, food collected, villager high.
  std::optional<std::map<int32_t, AgeTimes>> ageReached = std::nullopt;
  std::optional<std::map<int32_t, std::array<int32_t, 4>>> achieved = std::nullopt;
};

constexpr int16_t kFeudal = 101, kCastle = 102, kImperial = 103, kLoom = 22;

AgeTimes ages(std::optional<int64_t> feudal, std::optional<int64_t> castle = std::nullopt,
              std::optional<int64_t> imperial = std::nullopt) {
  return AgeTimes{{feudal, castle, imperial}};
}

const BodyCase kBodyCases[] = {
    {"TimeStepsSumWithChecksumBlocksAndViewLocks",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(100);
       b.viewLock();
       b.timeStep(250, true);
       b.timeStep(50, true, 7);
       b.chat("@#2Bo: hi");
       b.timeStep(600);
     },
     1000,
     {},
     std::nullopt},
    {"OneCoopSeatResigningLeavesItsPlayerIn",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(500);
       b.resign(1, 5);
       b.timeStep(500);
       b.resign(3, 3);
     },
     1000,
     {{1, 500}, {3, 1000}},
     std::nullopt},
    {"LastTeamStandingWinsOnceEveryCoopSeatResigned",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(500);
       b.resign(3, 3);
       b.resign(1, 5);
       b.timeStep(700);
       b.resign(1, 1);
       b.timeStep(10);
     },
     1210,
     {{3, 500}, {1, 500}},
     std::vector<int32_t>{2, 4}},
    {"SpectatorNeitherWinsNorLoses",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(500);
       b.resign(2, 2);
       b.resign(4, 4);
     },
     500,
     {{2, 500}, {4, 500}},
     std::vector<int32_t>{1, 3},
     BodyStop::kEnd,
     true},
    {"CompletePostGameBlockIsTheAnswerAndLaterStepsCount",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(400);
       b.resign(2, 2);  // resigns, yet the block says player 2's team won
       b.postGame({{"Ann"}, {"Bo", true}, {"Cy"}, {"Di", true}, {"Ed"}}, 1, true);
       b.timeStep(600);
     },
     1000,
     {{2, 400}},
     std::vector<int32_t>{2, 4}},
    {"IncompletePostGameBlockLeavesTheResultToResignations",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(400);
       b.resign(2, 2);
       b.resign(4, 4);
       b.postGame({{"Ann"}, {"Bo"}, {"Cy"}, {"Di"}, {"Ed"}}, 1, false);  // no victory stated
     },
     400,
     {{2, 400}, {4, 400}},
     std::vector<int32_t>{1, 3}},
    // Both faults once seen: record k read as player k + 1 (a co-op seat's
    // position given as a winner), and a block stating the winners without
    // marking the game complete giving none.
    {"PostGameRecordsSpeakForTheirPositionsPlayerNumbers",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(400);
       PostGameRecord ann{"Ann", false, {600, 1200, -1}, 900, 12, 3000, 40};
       PostGameRecord ed = ann;  // the co-op seat of player 1
       ed.name = "Ed";
       ed.victory = true;
       b.postGame({ann,
                   {"Bo", false, {650, -1, -1}, 700, 3, 2500, 30},
                   {"Cy", true, {-1, -1, -1}, 500, 0, 100, 3},
                   {"Di"},
                   ed},
                  1, false);
     },
     400,
     {},
     std::vector<int32_t>{1, 3},
     BodyStop::kEnd,
     false,
     {},
     std::map<int32_t, AgeTimes>{{1, ages(600000, 1200000)},
                                 {2, ages(650000)},
                                 {3, ages(std::nullopt)},
                                 {4, ages(std::nullopt)}},
     std::map<int32_t, std::array<int32_t, 4>>{{1, {900, 12, 3000, 40}},
                                               {2, {700, 3, 2500, 30}},
                                               {3, {500, 0, 100, 3}},
                                               {4, {0, 0, 0, 0}}}},
    {"LastResearchClickOfEachAgeCountsCoopSeatsTogether",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(500);
       b.research(1, kFeudal);  // clicked, cancelled, clicked again from the other seat
       b.research(3, kLoom, 24);
       b.timeStep(300);
       b.research(1, kFeudal, 28);
       b.research(3, kCastle, 24);
       b.research(7, kFeudal);  // no player 7 in the list
       b.timeStep(200);
       b.research(2, kImperial, 28);
     },
     1000,
     {},
     std::nullopt,
     BodyStop::kEnd,
     false,
     {{1, ages(800)}, {2, ages(std::nullopt, std::nullopt, 1000)}, {3, ages(std::nullopt, 800)}}},
    {"SavedChapterIsSteppedOverByTheOffsetItStates",
     [](BodyBuilder& b, int64_t offset) {
       b.timeStep(300);
       b.savedChapter(offset, 5000);
       b.timeStep(700);
     },
     1000,
     {},
     std::nullopt},
    {"TextAfterTheBodyStopsTheWalkKeepingItsTime",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(900);
       b.text("HTTP/1.1 404 Not Found\r\n\r\n");
     },
     900,
     {},
     std::nullopt,
     BodyStop::kUnknownOperation},
    {"CommandRunningPastTheEndStops",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(900);
       b.command({0x0B, 1, 1, 0}, 4000);
     },
     900,
     {},
     std::nullopt,
     BodyStop::kOverrun},
    {"NegativeCommandLengthStops",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(900);
       b.command({0x0B, 1, 1, 0}, -8);
       b.timeStep(900);
     },
     900,
     {},
     std::nullopt,
     BodyStop::kOverrun},
    {"TimeStepOfHoursStops",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(900);
       b.timeStep(5 * 3600 * 1000);
       b.timeStep(900);
     },
     900,
     {},
     std::nullopt,
     BodyStop::kImplausibleStep},
    {"PostGameBlockCutShortStops",
     [](BodyBuilder& b, int64_t) {
       b.timeStep(900);
       b.postGame({{"Ann", true}, {"Bo"}, {"Cy", true}, {"Di"}}, 1, true, 1000);
     },
     900,
     {},
     std::nullopt,
     BodyStop::kOverrun},
    {"MillionZeroTimeStepsEndWithNothingAdded",
     [](BodyBuilder& b, int64_t) {
       for (int i = 0; i < 1000000; ++i) b.timeStep(0);
     },
     0,
     {},
     std::nullopt},
};

class BodyTest : public testing::TestWithParam<BodyCase> {};

TEST_P(BodyTest, GivesItsLengthResultAndStop) {
  const BodyCase& c = GetParam();
  SampleGame game = coopGame();
  if (c.withSpectator) {
    constexpr int32_t kSpectator = 6;
    game.players.push_back(SamplePlayer{5, "Eve", 5, 4, 1, {}, kSpectator});
  }
  BodyBuilder body;
  body.start();
  c.write(body, bodyOffsetFor(game));
  fixtures::TempFolder folder;
  const std::string path = folder.file("game.mgx");
  ASSERT_TRUE(fixtures::writeRecording(path, fixtures::buildHeader(game).bytes, body.take()));
  const Parsed parsed = parseGame(path);
  ASSERT_TRUE(parsed.loaded);
  const GameFacts& facts = parsed.facts();
  EXPECT_EQ(facts.durationMs, c.durationMs);
  EXPECT_EQ(facts.stop, c.stop);
  EXPECT_EQ(facts.resignations, c.resignations);
  EXPECT_EQ(facts.settled, c.winners.has_value());
  if (c.winners) {
    EXPECT_EQ(facts.winners, *c.winners);
  }
  EXPECT_EQ(facts.ageUps, c.ageUps);
  if (c.ageReached) {
    EXPECT_EQ(facts.ageReached, *c.ageReached);
  }
  if (c.achieved) {
    std::map<int32_t, std::array<int32_t, 4>> achieved;
    for (const auto& [number, a] : facts.achievements) {
      achieved[number] = {a.totalScore, a.military.unitsKilled, a.economy.foodCollected,
                          a.society.villagerHigh};
    }
    EXPECT_EQ(achieved, *c.achieved);
  }
}

INSTANTIATE_TEST_SUITE_P(Bodies, BodyTest, testing::ValuesIn(kBodyCases),
                         [](const testing::TestParamInfo<BodyCase>& p) {
                           return std::string(p.param.name);
                         });

// The restore time stands after the tiles, whose size is the version's; every
// time of the game counts from the game's start, the restore time included:
// resignations and age-ups too.
TEST(GameFactsTest, RestoredGameAddsTheTimeItWasRestoredAt) {
  fixtures::VersionLayout mixedTiles = fixtures::patch15Layout();
  mixedTiles.somePlainTiles = true;
  for (const fixtures::VersionLayout& layout :
       {fixtures::conquerorsLayout(), fixtures::patch15Layout(), mixedTiles}) {
    SCOPED_TRACE(layout.somePlainTiles ? "patch 1.5, some tiles plain" : layout.text);
    SampleGame game = coopGame();
    game.layout = layout;
    game.restoredAtMs = 600000;
    BodyBuilder body;
    body.start();
    body.timeStep(1500);
    body.resign(2, 2);
    body.research(2, kFeudal);
    fixtures::TempFolder folder;
    const std::string path = folder.file("game.mgx");
    ASSERT_TRUE(fixtures::writeRecording(path, fixtures::buildHeader(game).bytes, body.take()));
    const Parsed parsed = parseGame(path);
    ASSERT_TRUE(parsed.loaded);
    EXPECT_TRUE(parsed.facts().restored());
    EXPECT_EQ(parsed.facts().durationMs, 601500);
    EXPECT_EQ(parsed.facts().ageUps, (std::map<int32_t, AgeTimes>{{2, ages(601500)}}));
    // The game clock, as the player saw it, not the time since the restore.
    EXPECT_EQ(parsed.facts().resignations, (std::vector<Resignation>{{2, 601500}}));
  }
}

// The objects at the start lie in three lists after each block of the game
// data, Gaia's first: her gold, stone and relics, the cliffs of her sleeping
// list, the players' buildings. A player's first town centre is its start
// (an annex beside it is none); without one, the camera its block states.
// A list stating a capacity below the records it holds is no list: then no
// objects, and each start is the camera. A unit's queued move states its
// state in a byte, in the community patches in 4.
TEST(GameFactsTest, ObjectsAtTheStartFromTheListsAfterEachBlock) {
  using fixtures::StartObject;
  struct Case {
    fixtures::VersionLayout layout;
    std::optional<int32_t> capacity;
  };
  for (const Case& row :
       {Case{fixtures::conquerorsLayout(), std::nullopt}, Case{fixtures::conquerorsLayout(), 2},
        Case{fixtures::patch12Layout(), std::nullopt}}) {
    const std::optional<int32_t> capacity = row.capacity;
    SCOPED_TRACE(std::string(row.layout.text) + (capacity ? " capacity 2" : " capacity as held"));
    SampleGame game = fixtures::twoPlayerGame();
    game.layout = row.layout;
    game.players[0].camera = {4.0f, 6.0f};
    game.players[1].camera = {9.0f, 11.0f};
    game.objects = {
        {StartObject{10, 66, 2.5f, 3.5f}, StartObject{10, 102, 4.5f, 5.5f},
         StartObject{70, 594, 8.5f, 1.5f}, StartObject{10, 285, 6.5f, 7.5f},
         StartObject{10, 264, 1.0f, 14.0f, true}},
        {StartObject{80, 618, 12.0f, 13.0f}, StartObject{80, 109, 12.5f, 12.5f},
         StartObject{70, 83, 11.5f, 10.5f, false, true}},
        {StartObject{70, 83, 3.5f, 3.5f}},
    };
    game.objectListCapacity = capacity;
    BodyBuilder body;
    body.start();  // The Conquerors 1.0c
    fixtures::TempFolder folder;
    const std::string path = folder.file("game.mgx");
    ASSERT_TRUE(fixtures::writeRecording(path, fixtures::buildHeader(game).bytes, body.take()));
    const Parsed parsed = parseGame(path);
    ASSERT_TRUE(parsed.loaded);
    const MapObjects& objects = parsed.facts().objects;
    const auto& starts = parsed.facts().startPositions;
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts.at(2).x, 9.0f);
    EXPECT_EQ(starts.at(2).y, 11.0f);
    if (capacity) {
      EXPECT_FALSE(objects.read);
      EXPECT_EQ(objects.notRead, "Gaia's lists were not found");
      EXPECT_TRUE(objects.gold.empty());
      EXPECT_EQ(starts.at(1).x, 4.0f);
      EXPECT_EQ(starts.at(1).y, 6.0f);
      continue;
    }
    ASSERT_TRUE(objects.read) << objects.notRead;
    const auto at = [](const std::vector<MapPoint>& points) {
      std::vector<std::pair<float, float>> xy;
      for (const MapPoint& p : points) xy.emplace_back(p.x, p.y);
      return xy;
    };
    using Points = std::vector<std::pair<float, float>>;
    EXPECT_EQ(at(objects.gold), (Points{{2.5f, 3.5f}}));
    EXPECT_EQ(at(objects.stone), (Points{{4.5f, 5.5f}}));
    EXPECT_EQ(at(objects.relics), (Points{{6.5f, 7.5f}}));
    EXPECT_EQ(at(objects.cliffs), (Points{{1.0f, 14.0f}}));
    ASSERT_EQ(objects.buildings.size(), 2u);
    EXPECT_FALSE(objects.buildings[0].townCentre);
    EXPECT_TRUE(objects.buildings[1].townCentre);
    EXPECT_EQ(starts.at(1).x, 12.5f);
    EXPECT_EQ(starts.at(1).y, 12.5f);
  }
}

// The Definitive Edition's patches, each one's additions to the records.
// Gaia's relic keeps no place, her boar does (before 26.16 its AI states no
// kind: the unrung town bell after the AI tells the place is absent; from
// 26.16 its kind, 4, says so); a player's town centre is its start, over the
// spawn point its block states. From 20.16 a static object holds one byte
// more; whether it goes with having no sprites instead is not settled until
// 25.22, so a boar without sprites stops the walk. From 25.06 a tree that
// holds its own copy of its type is read past. From 67.2 a unit's AI states
// its place once more. The first release's seven-byte tiles lead to the
// same lists as its nine-byte ones; a later patch's header in that form is
// in none known, and its map is not read.
TEST(GameFactsTest, DefinitiveObjectsOfEveryPatch) {
  using fixtures::DefinitiveObject;
  fixtures::TempFolder folder;
  const struct {
    float save;
    bool narrowTiles = false;
    bool spritelessBoar = false;
  } rows[] = {{12.97f},
              {12.97f, true},
              {13.13f},
              {13.13f, true},
              {13.17f},
              {13.34f},
              {20.06f},
              {20.06f, false, true},
              {20.16f},
              {20.16f, false, true},
              {25.01f},
              {25.06f},
              {25.06f, false, true},
              {25.22f},
              {26.16f},
              {26.18f},
              {26.21f},
              {37.0f},
              {50.0f},
              {50.4f},
              {61.5f},
              {62.0f},
              {63.0f},
              {64.3f},
              {66.3f},
              {67.2f}};
  for (const auto& row : rows) {
    const float save = row.save;
    SCOPED_TRACE(std::to_string(save) + (row.narrowTiles ? " seven-byte tiles" : "") +
                 (row.spritelessBoar ? " spriteless boar" : ""));
    fixtures::DefinitiveGame game = fixtures::twoPlayerDefinitiveGame(save);
    game.narrowTiles = row.narrowTiles;
    game.objects = {
        {DefinitiveObject{10, 66, 2.5f, 3.5f}, DefinitiveObject{70, 285, 6.5f, 7.5f},
         DefinitiveObject{70, 48, 1.5f, 6.5f, true}, DefinitiveObject{10, 102, 4.5f, 5.5f}},
        {DefinitiveObject{80, 109, 6.0f, 2.0f}, DefinitiveObject{70, 83, 5.5f, 2.5f}},
        {DefinitiveObject{80, 109, 1.0f, 1.0f}},
    };
    game.objects[0][2].spriteless = row.spritelessBoar;
    // A town centre's AI is of kind 15 and another building's 17, as in
    // every file from 26.16 on; both close with more from 63.0.
    game.objects[1][0].aiKind = 15;
    game.objects[1][1].aiKind = 17;
    // An animated object's form is known before 20.16 and again from 67.2.
    if (save < 20.16f || save >= 67.2f)
      game.objects[0].push_back(DefinitiveObject{20, 1902, 7.5f, 0.5f});
    if (save >= 25.06f) {
      DefinitiveObject tree{10, 351, 3.5f, 7.5f};
      tree.ownCopy = true;
      game.objects[0].insert(game.objects[0].begin() + 1, tree);
    }
    const std::string path = folder.file("game.aoe2record");
    ASSERT_TRUE(fixtures::writeRecording(path, fixtures::buildDefinitiveHeader(game),
                                         fixtures::buildDefinitiveBody(game)));
    const Parsed parsed = parseGame(path);
    ASSERT_TRUE(parsed.loaded);
    const MapObjects& objects = parsed.facts().objects;
    const auto& starts = parsed.facts().startPositions;
    if (row.narrowTiles && save >= 13.03f) {
      EXPECT_FALSE(objects.read);
      EXPECT_EQ(objects.notRead, "the map was not read");
      continue;
    }
    if (row.spritelessBoar && save >= 20.16f) {
      EXPECT_FALSE(objects.read);
      continue;
    }
    ASSERT_TRUE(objects.read) << objects.notRead;
    ASSERT_EQ(objects.gold.size(), 1u);
    EXPECT_EQ(objects.gold[0].x, 2.5f);
    ASSERT_EQ(objects.stone.size(), 1u);
    EXPECT_EQ(objects.stone[0].y, 5.5f);
    ASSERT_EQ(objects.relics.size(), 1u);
    EXPECT_EQ(objects.relics[0].y, 7.5f);
    ASSERT_EQ(objects.buildings.size(), 2u);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts.at(1).x, 6.0f);
    EXPECT_EQ(starts.at(1).y, 2.0f);
    EXPECT_EQ(starts.at(2).x, 1.0f);
  }
}

// The patches that raised the limit store it in 25s; a stored value whose
// units do not fit an int32 is no game's and is left out.
TEST(GameFactsTest, PopulationLimitInTheVersionsUnits) {
  struct Case {
    std::string_view text;
    int32_t stored;
    std::optional<int32_t> limit;
  };
  const Case cases[] = {
      {"VER 9.4", 200, 200},
      {"VER 9.8", 8, 200},  // community patch 1.2
      {"VER 9.9", 10, 250},
      {"VER 9.A", 8, 200},
      {"VER 9.A", 0x7FFFFFFF, std::nullopt},
      {"VER 9.F", 100000000, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.stored));
    SampleGame game = coopGame();
    game.layout.text = c.text;
    game.lobbyPopulation = c.stored;
    BodyBuilder body;
    body.start();
    fixtures::TempFolder folder;
    const std::string path = folder.file("game.mgx");
    ASSERT_TRUE(fixtures::writeRecording(path, fixtures::buildHeader(game).bytes, body.take()));
    const Parsed parsed = parseGame(path);
    ASSERT_TRUE(parsed.loaded);
    EXPECT_EQ(parsed.facts().settings.populationLimit, c.limit);
  }
}

// The map id before the name list, or in the later edition's lobby block
// where it has one; the profiles of that block's player entries, with the
// ratings only the 1006 files that hold them give.
TEST(GameFactsTest, MapIdAndProfilesWhereTheVersionStoresThem) {
  struct Case {
    const char* name;
    fixtures::VersionLayout layout;
    std::optional<int32_t> mapId;
    bool profiles;
    bool ratings;
  };
  const Case cases[] = {
      {"base game", fixtures::baseGameLayout(), std::nullopt, false, false},
      {"The Conquerors", fixtures::conquerorsLayout(), 59, false, false},
      {"patch 1.5", fixtures::patch15Layout(), 59, false, false},
      {"later edition 12.3", fixtures::laterEditionLayout(12.3f), 59, false, false},
      {"lobby block 1000", fixtures::laterEditionLayout(12.36f, 1000), 59, false, false},
      {"lobby block 1004", fixtures::laterEditionLayout(12.4f, 1004), 59, true, false},
      {"lobby block 1005", fixtures::laterEditionLayout(12.49f, 1005), 59, true, false},
      {"lobby block 1006 without ratings", fixtures::laterEditionLayout(12.5f, 1006, false), 59,
       true, false},
      {"lobby block 1006 with ratings", fixtures::laterEditionLayout(12.5f, 1006, true), 59, true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleGame game = fixtures::twoPlayerGame();
    game.layout = c.layout;
    game.mapId = 59;
    // A custom map (the later edition's 59 names none): its lobby names its
    // script. A built-in map keeps its id's name whatever file the lobby
    // kept from before.
    game.mapFile = " Green Arabia.rms";
    fixtures::TempFolder folder;
    const std::string path = folder.file("game.mgx");
    ASSERT_TRUE(fixtures::writeSampleGame(path, game));
    const Parsed parsed = parseGame(path);
    ASSERT_TRUE(parsed.loaded);
    EXPECT_EQ(parsed.facts().mapId, c.mapId);
    EXPECT_EQ(parsed.facts().mapScript, c.profiles ? "Green Arabia" : "");
    game.mapId = 31;
    const std::string builtIn = folder.file("oasis.mgx");
    ASSERT_TRUE(fixtures::writeSampleGame(builtIn, game));
    EXPECT_EQ(parseGame(builtIn).facts().mapScript, "");
    const std::map<int32_t, HdProfile>& profiles = parsed.facts().hdProfiles;
    if (!c.profiles) {
      EXPECT_TRUE(profiles.empty());
      continue;
    }
    ASSERT_EQ(profiles.size(), 2u);
    for (int32_t number = 1; number <= 2; ++number) {
      SCOPED_TRACE(number);
      ASSERT_EQ(profiles.count(number), 1u);
      const HdProfile& profile = profiles.at(number);
      EXPECT_EQ(profile.steamId, fixtures::kFirstProfileId + static_cast<uint64_t>(number));
      EXPECT_EQ(profile.rmRating, c.ratings ? 1500 + number : 0);
      EXPECT_EQ(profile.dmRating, c.ratings ? 1400 + number : 0);
    }
  }
}

// The shared recordings against their facts files: the values independent
// readers of these recordings agree on. A field a file leaves out, or gives
// as null, is not pinned for that recording.
using testing_json::Value;

bool pinned(const Value& expected, const char* key) {
  return expected.has(key) && expected[key].kind != Value::Kind::kNull;
}

void checkResult(const Value& expected, const GameFacts& facts) {
  if (pinned(expected, "durationMs")) {
    EXPECT_EQ(facts.durationMs, expected["durationMs"].number);
    EXPECT_EQ(facts.stop, BodyStop::kEnd);
  }
  EXPECT_EQ(facts.restored(), expected["restored"].boolean);
  if (pinned(expected, "restoreMs")) {
    EXPECT_EQ(facts.restoredAtMs, expected["restoreMs"].number);
  }
  std::vector<Resignation> resignations;
  for (const Value& r : expected["resigns"].items) {
    resignations.push_back({static_cast<int32_t>(r[0].number), r[1].number});
  }
  EXPECT_EQ(facts.resignations, resignations);
  EXPECT_EQ(facts.settled, pinned(expected, "winners"));
  if (pinned(expected, "winners")) {
    std::vector<int32_t> winners;
    for (const Value& n : expected["winners"].items) {
      winners.push_back(static_cast<int32_t>(n.number));
    }
    EXPECT_EQ(facts.winners, winners);
  }
}

void checkSettings(const Value& expected, const GameSettings& s) {
  const auto number = [&](const char* key, const std::optional<int32_t>& actual) {
    if (pinned(expected, key)) {
      EXPECT_EQ(actual, expected[key].number) << key;
    }
  };
  if (pinned(expected, "speed")) {
    ASSERT_TRUE(s.speed.has_value());
    // The facts give the speed in hundredths, rounded down.
    EXPECT_EQ(static_cast<int64_t>(*s.speed * 100), expected["speed"].number);
  }
  number("popLimit", s.populationLimit);
  number("mapSize", s.mapSize);
  number("revealMap", s.revealMap);
  number("difficulty", s.difficulty);
  if (pinned(expected, "lockTeams")) {
    EXPECT_EQ(s.lockTeams, expected["lockTeams"].boolean);
  }
  if (pinned(expected, "startingAge")) {
    static const char* const kAges[] = {"standard", "dark",     "feudal",
                                        "castle",   "imperial", "post-imperial"};
    ASSERT_TRUE(s.startingAge.has_value());
    ASSERT_LT(*s.startingAge, 6);
    EXPECT_EQ(kAges[*s.startingAge], expected["startingAge"].text);
  }
}

// Per player number and age: the last click, and the time the post-game
// block gives (null: not reached). Every player with a click is listed.
void checkAgeUps(const Value& expected, const GameFacts& facts) {
  static const char* const kAgeKeys[kAges] = {"feudal", "castle", "imperial"};
  for (const auto& [number, times] : facts.ageUps) {
    EXPECT_TRUE(expected.has(std::to_string(number))) << "player " << number;
  }
  for (const auto& [key, player] : expected.members) {
    const int32_t number = std::stoi(key);
    const auto clicked = facts.ageUps.find(number);
    const auto reached = facts.ageReached.find(number);
    for (int age = 0; age < kAges; ++age) {
      SCOPED_TRACE("player " + key + " " + kAgeKeys[age]);
      const Value& times = player[kAgeKeys[age]];
      const std::optional<int64_t> last =
          clicked == facts.ageUps.end() ? std::nullopt : clicked->second.ms[std::size_t(age)];
      if (times.has("lastClickMs")) {
        EXPECT_EQ(last, times["lastClickMs"].number);
      } else if (times.has("clicks")) {
        EXPECT_EQ(last, std::nullopt);
      }
      const std::optional<int64_t> block =
          reached == facts.ageReached.end() ? std::nullopt : reached->second.ms[std::size_t(age)];
      if (times.has("reachedMs")) {
        EXPECT_EQ(block, pinned(times, "reachedMs")
                             ? std::optional<int64_t>(times["reachedMs"].number)
                             : std::nullopt);
      } else {
        EXPECT_EQ(block, std::nullopt);  // no post-game block
      }
    }
  }
}

// The post-game block's record of every player, field by field; none
// where the facts have none.
void checkAchievements(const Value& expected, const GameFacts& facts) {
  if (!expected.has("achievements")) {
    EXPECT_TRUE(facts.achievements.empty());
    return;
  }
  const Value& all = expected["achievements"];
  EXPECT_EQ(facts.achievements.size(), all.members.size());
  for (const auto& [key, e] : all.members) {
    SCOPED_TRACE("achievements of player " + key);
    const auto found = facts.achievements.find(std::stoi(key));
    ASSERT_NE(found, facts.achievements.end());
    const Achievements& a = found->second;
    const auto field = [](const Value& section, const char* name, int64_t actual) {
      EXPECT_EQ(actual, section[name].number) << name;
    };
    field(e, "total_score", a.totalScore);
    field(e, "victory", a.victory);
    field(e, "mvp", a.mvp);
    const Value& m = e["military"];
    field(m, "score", a.military.score);
    field(m, "units_killed", a.military.unitsKilled);
    field(m, "hit_points_killed", a.military.hitPointsKilled);
    field(m, "units_lost", a.military.unitsLost);
    field(m, "buildings_razed", a.military.buildingsRazed);
    field(m, "hit_points_razed", a.military.hitPointsRazed);
    field(m, "buildings_lost", a.military.buildingsLost);
    field(m, "units_converted", a.military.unitsConverted);
    const Value& ec = e["economy"];
    field(ec, "score", a.economy.score);
    field(ec, "food_collected", a.economy.foodCollected);
    field(ec, "wood_collected", a.economy.woodCollected);
    field(ec, "stone_collected", a.economy.stoneCollected);
    field(ec, "gold_collected", a.economy.goldCollected);
    field(ec, "tribute_sent", a.economy.tributeSent);
    field(ec, "tribute_received", a.economy.tributeReceived);
    field(ec, "trade_gold", a.economy.tradeGold);
    field(ec, "relic_gold", a.economy.relicGold);
    const Value& t = e["technology"];
    field(t, "score", a.technology.score);
    field(t, "feudal_time", a.technology.feudalTime);
    field(t, "castle_time", a.technology.castleTime);
    field(t, "imperial_time", a.technology.imperialTime);
    field(t, "explored_percent", a.technology.exploredPercent);
    field(t, "research_count", a.technology.researchCount);
    field(t, "research_percent", a.technology.researchPercent);
    const Value& so = e["society"];
    field(so, "score", a.society.score);
    field(so, "total_wonders", a.society.totalWonders);
    field(so, "total_castles", a.society.totalCastles);
    field(so, "relics_captured", a.society.relicsCaptured);
    field(so, "villager_high", a.society.villagerHigh);
    const auto byOpponent = [](const Value& list, const std::array<int32_t, 8>& actual) {
      ASSERT_EQ(list.items.size(), actual.size());
      for (std::size_t k = 0; k < actual.size(); ++k) EXPECT_EQ(actual[k], list[k].number) << k;
    };
    byOpponent(e["unitsKilledOf"], a.unitsKilledOf);
    byOpponent(e["buildingsRazedOf"], a.buildingsRazedOf);
    byOpponent(e["tributeSentTo"], a.tributeSentTo);
  }
}

void checkMap(const Value& expected, const GameFacts& facts, VersionFamily family) {
  if (pinned(expected, "mapId")) {
    EXPECT_EQ(facts.mapId, expected["mapId"].number);
  }
  if (pinned(expected, "mapNameById")) {
    ASSERT_TRUE(facts.mapId.has_value());
    EXPECT_EQ(builtInMapName(*facts.mapId, family), expected["mapNameById"].text);
  }
}

void checkProfiles(const Value& expected, const GameFacts& facts) {
  if (!pinned(expected, "hdProfiles")) return;
  std::map<int32_t, HdProfile> profiles;
  for (const Value& p : expected["hdProfiles"].items) {
    HdProfile& profile = profiles[static_cast<int32_t>(p["number"].number)];
    profile.steamId = static_cast<uint64_t>(p["steamId"].number);
    profile.rmRating = static_cast<int32_t>(p["rmRating"].number);
    profile.dmRating = static_cast<int32_t>(p["dmRating"].number);
  }
  ASSERT_EQ(facts.hdProfiles.size(), profiles.size());
  for (const auto& [number, profile] : profiles) {
    SCOPED_TRACE(number);
    ASSERT_EQ(facts.hdProfiles.count(number), 1u);
    const HdProfile& read = facts.hdProfiles.at(number);
    EXPECT_EQ(read.steamId, profile.steamId);
    EXPECT_EQ(read.rmRating, profile.rmRating);
    EXPECT_EQ(read.dmRating, profile.dmRating);
  }
}

void checkCodePage(const Value& expected, const GameFacts& facts) {
  if (pinned(expected, "codePage")) {
    EXPECT_EQ(facts.codePage, expected["codePage"].number);
  }
}

TEST(RealFactsTest, EveryRecordingMatchesTheAgreedValues) {
  if (!std::filesystem::is_directory(MORVANE_RECORDINGS_DIR)) {
    GTEST_SKIP() << "no shared recordings at " << MORVANE_RECORDINGS_DIR;
  }
  const std::vector<std::string> names = fixtures::recordingsWith(MORVANE_RECORDINGS_DIR, ".facts.json");
  ASSERT_FALSE(names.empty());
  fixtures::TempFolder folder;  // the reader writes beside the file it reads
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::filesystem::path dir(MORVANE_RECORDINGS_DIR);
    const auto json = fixtures::readFile((dir / (name + ".facts.json")).string());
    Value expected;
    ASSERT_TRUE(testing_json::Parser(std::string(json.begin(), json.end())).parse(expected));
    const std::string copy = folder.file(name);
    ASSERT_TRUE(fixtures::writeFile(copy, fixtures::readFile((dir / name).string())));
    const Parsed parsed = parseGame(copy);
    ASSERT_TRUE(parsed.loaded);
    checkResult(expected, parsed.facts());
    checkSettings(expected["settings"], parsed.facts().settings);
    checkAgeUps(expected["ageUps"], parsed.facts());
    checkAchievements(expected, parsed.facts());
    checkMap(expected, parsed.facts(), parsed.family);
    checkProfiles(expected, parsed.facts());
    checkCodePage(expected, parsed.facts());
  }
}

}  // namespace
}  // namespace morvane
