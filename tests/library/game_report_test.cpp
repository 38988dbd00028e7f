#include "library/game_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "library/civilisation_names.h"
#include "library/play_names.h"
#include "platform/text_decoder.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"
#include "recording_writer/temp_folder.h"
#include "support/tiny_json.h"
#include "recording/setting_names.h"

namespace morvane {
namespace {

// Two players at positions 1 and 2, numbers 2 and 1, as the header lists
// them; player 1 resigned, player 2 won.
GameEntry twoPlayerGame() {
  GameEntry entry;
  entry.fileName = "duel.mgx";
  entry.mapName = "Arabia";
  entry.mapWidth = 120;
  entry.mapHeight = 120;
  entry.playerNames[1] = "Ann";
  entry.playerNames[2] = "Bob";
  entry.teamLabels[1] = "1";
  entry.teamLabels[2] = "2";
  entry.playerNumbers[1] = 2;
  entry.playerNumbers[2] = 1;
  entry.slots[2].civId = 18;
  entry.slots[2].colourId = 7;
  entry.slots[1].civId = 45;
  entry.slots[1].colourId = 0;
  GameFacts& facts = entry.facts.write();
  facts.version.family = VersionFamily::kAoC10c;
  facts.version.saveVersion = 11.76f;
  facts.durationMs = 3723000;
  facts.settled = true;
  facts.winners = {2};
  facts.resignations = {{1, 3600000}};
  facts.ageUps[2][Age::kFeudal] = 600000;
  facts.ageReached[2][Age::kFeudal] = 730000;
  facts.ageReached[2][Age::kCastle] = 1330000;
  facts.ageUps[1][Age::kImperial] = 2400000;
  facts.achievements[2].totalScore = 4321;
  facts.hdProfiles[1].rmRating = 1650;
  facts.settings.mapSize = 1;
  facts.settings.speed = 1.5f;
  facts.settings.populationLimit = 200;
  facts.settings.lockTeams = false;
  facts.settings.victory = 2;
  facts.settings.victoryTime = 300;
  return entry;
}

std::vector<ReportFact> factsOf(const GameReport& report) {
  std::vector<ReportFact> facts;
  for (const ReportLine& line : report.facts) facts.push_back(line.fact);
  return facts;
}

const ReportLine* line(const GameReport& report, ReportFact fact) {
  for (const ReportLine& each : report.facts)
    if (each.fact == fact) return &each;
  return nullptr;
}

TEST(GameReportTest, PlayersInListOrderWithTheirNumbersFacts) {
  const GameReport report = buildGameReport(twoPlayerGame());
  ASSERT_EQ(report.state, ReportState::kGame);
  ASSERT_EQ(report.players.size(), 2u);
  const ReportPlayer& ann = report.players[0];
  EXPECT_EQ(ann.position, 1);
  EXPECT_EQ(ann.name, "Ann");
  EXPECT_EQ(ann.civilisation, u8"朝鮮");
  EXPECT_EQ(ann.colourIndex, 8);  // colour 7, orange
  EXPECT_EQ(ann.team, "1");
  EXPECT_EQ(ann.result, PlayerResult::kWon);
  EXPECT_EQ(ann.ages[0], "0:10:00 (0:12:10)");
  EXPECT_EQ(ann.ages[1], "(0:22:10)");
  EXPECT_EQ(ann.ages[2], "");
  EXPECT_EQ(ann.score, "4321");
  EXPECT_EQ(ann.rating, "");
  const ReportPlayer& bob = report.players[1];
  EXPECT_EQ(bob.civilisation, u8"ジョージア");
  EXPECT_EQ(bob.colourIndex, 1);
  EXPECT_EQ(bob.result, PlayerResult::kResigned);
  EXPECT_EQ(bob.resignedAtMs, 3600000);
  EXPECT_EQ(bob.ages[2], "0:40:00");
  EXPECT_EQ(bob.score, "");
  EXPECT_EQ(bob.rating, "1650");
}

TEST(GameReportTest, AResignedWinnerWonAndAnUnsettledGameNamesNoWinner) {
  GameEntry entry = twoPlayerGame();
  entry.facts.write().resignations.push_back({2, 100});
  EXPECT_EQ(buildGameReport(entry).players[0].result, PlayerResult::kWon);
  entry.facts.write().settled = false;
  entry.facts.write().resignations = {};
  for (const ReportPlayer& player : buildGameReport(entry).players)
    EXPECT_EQ(player.result, PlayerResult::kNone) << player.name;
}

TEST(GameReportTest, FactsInOrderOnlyWhereTheRecordingHoldsThem) {
  const GameReport report = buildGameReport(twoPlayerGame());
  EXPECT_EQ(factsOf(report),
            (std::vector<ReportFact>{ReportFact::kLength, ReportFact::kVersion, ReportFact::kMap,
                                     ReportFact::kMapSize, ReportFact::kSpeed,
                                     ReportFact::kPopulation, ReportFact::kVictory,
                                     ReportFact::kLockTeams}));
  EXPECT_EQ(line(report, ReportFact::kLength)->text, "1:02:03");
  EXPECT_EQ(line(report, ReportFact::kVersion)->text, "AoC 1.0c (11.76)");
  EXPECT_EQ(line(report, ReportFact::kMap)->text, "Arabia");
  // Without a map type line, the built-in map's name by the header's id.
  GameEntry noLine = twoPlayerGame();
  noLine.mapName = kMapTypeNotFound;
  noLine.facts.write().mapId = 12;
  EXPECT_EQ(line(buildGameReport(noLine), ReportFact::kMap)->text, "Black Forest");
  EXPECT_EQ(line(report, ReportFact::kMapSize)->choice, 1);
  EXPECT_EQ(line(report, ReportFact::kMapSize)->text, " (120 x 120)");
  EXPECT_EQ(line(report, ReportFact::kSpeed)->choice, 1);  // normal
  // The Definitive Edition's own speed names: its 1.5 is casual, 1.7 normal.
  GameEntry definitive = twoPlayerGame();
  definitive.facts.write().version.family = VersionFamily::kDE;
  definitive.facts.write().version.saveVersion = 63.0f;
  EXPECT_EQ(line(buildGameReport(definitive), ReportFact::kSpeed)->choice,
            static_cast<int32_t>(Speed::kCasual));
  definitive.facts.write().settings.speed = 1.69f;
  EXPECT_EQ(line(buildGameReport(definitive), ReportFact::kSpeed)->choice,
            static_cast<int32_t>(Speed::kNormal));
  // When it was played, first, where the recording states it: in UTC as the
  // search shows a game's date.
  definitive.facts.write().playedAt = 1651256760;
  EXPECT_EQ(factsOf(buildGameReport(definitive)).front(), ReportFact::kPlayedAt);
  EXPECT_EQ(line(buildGameReport(definitive), ReportFact::kPlayedAt)->text, "2022/04/29 18:26");
  EXPECT_EQ(line(report, ReportFact::kPopulation)->text, "200");
  EXPECT_EQ(line(report, ReportFact::kVictory)->choice, 2);
  EXPECT_EQ(line(report, ReportFact::kVictory)->text, " (300)");
  EXPECT_EQ(line(report, ReportFact::kLockTeams)->choice, 0);
}

TEST(GameReportTest, MapTilesBeyondWhatAMapHoldsAreNotShown) {
  GameEntry entry = twoPlayerGame();
  entry.mapWidth = 16344;
  entry.mapHeight = 13107200;
  EXPECT_EQ(line(buildGameReport(entry), ReportFact::kMapSize)->text, "");
  entry.facts.write().settings.mapSize.reset();
  EXPECT_EQ(line(buildGameReport(entry), ReportFact::kMapSize), nullptr);
  entry.mapWidth = 240;
  entry.mapHeight = 240;
  EXPECT_EQ(line(buildGameReport(entry), ReportFact::kMapSize)->text, "240 x 240");
}

TEST(GameReportTest, ARestoredGameSaysWhenItWasRestored) {
  GameEntry entry = twoPlayerGame();
  entry.facts.write().restoredAtMs = 61000;
  const GameReport report = buildGameReport(entry);
  const ReportLine* restored = line(report, ReportFact::kRestoredAt);
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(restored->text, "0:01:01");
}

TEST(GameReportTest, AFolderAGameThatDidNotLoadAndAnUnknownEditionSaySo) {
  GameEntry folder;
  folder.fileName = "Old";
  folder.attributes = GameEntry::kFolderAttribute;
  EXPECT_EQ(buildGameReport(folder).state, ReportState::kFolder);
  GameEntry unloaded;
  unloaded.fileName = "broken.mgx";
  const GameReport report = buildGameReport(unloaded);
  EXPECT_EQ(report.state, ReportState::kNotLoaded);
  EXPECT_TRUE(report.players.empty());
  EXPECT_TRUE(report.facts.empty());
  // What the window keeps of a version the reader refused to load.
  GameEntry unknown;
  unknown.facts.write().version.text = "VER 9.4";
  unknown.facts.write().version.saveVersion = 12.8f;
  EXPECT_EQ(buildGameReport(unknown).state, ReportState::kUnknownEdition);
  EXPECT_EQ(buildGameReport(unknown).version, "VER 9.4 12.8");
}

TEST(GameReportTest, PlayerNumbersOutsideTheBlocksReadNoBlock) {
  GameEntry entry = twoPlayerGame();
  entry.playerNumbers[1] = 9;
  const GameReport report = buildGameReport(entry);
  const ReportPlayer& player = report.players.at(0);
  EXPECT_EQ(player.civilisation, "");
  EXPECT_EQ(player.colourIndex, 0);
  EXPECT_EQ(player.result, PlayerResult::kNone);
}

// Names for the few ids the build orders below use.
std::string testName(StepKind kind, int32_t id) {
  switch (kind) {
    case StepKind::kResearch:
      return id == 22 ? "Loom" : id == 101 ? "Feudal Age" : "";
    case StepKind::kBuilding:
      return id == 70 ? "House" : id == 12 ? "Barracks" : "";
    case StepKind::kUnit:
      return id == 4 ? "Archer" : id == 74 ? "Militia" : "";
  }
  return "";
}

std::vector<std::string> stepTexts(const std::vector<BuildStep>& steps) {
  std::vector<std::string> texts;
  for (const BuildStep& step : steps) texts.push_back(buildStepText(step, testName));
  return texts;
}

TEST(BuildOrderTest, StepsInTimeVillagersAsideRepeatsJoinedAndResearchAtItsLastClick) {
  PlayerPlay play;
  play.units = {{5000, 83, 1},      {20000, 293, 1},  // villagers, either kind
                {400000, 74, 1},    {410000, 74, 2},  // one step: within 30 s
                {445000, 74, 1},                      // a step of its own
                {3605000, 999, 1}};                   // no name: its id
  play.buildings = {{25000, 70, {}, {}},  {70000, 70, {}, {}},  // 45 s apart
                    {90000, 70, {}, {}},  {300000, 12, {}, {}},
                    {420000, 70, {}, {}}};  // a house between the militia
  // Loom clicked, cancelled and clicked again; an id no table names.
  play.research = {{120000, 22}, {150000, 101}, {180000, 22}, {500000, 7}};
  EXPECT_EQ(stepTexts(buildOrderOf(play)),
            (std::vector<std::string>{"0:25 House", "1:10 House x2", "2:30 Feudal Age", "3:00 Loom",
                                      "5:00 Barracks", "6:40 Militia x3", "7:00 House",
                                      "7:25 Militia", "8:20 #7", "60:05 #999"}));
  // At most as many steps as asked for; the last still takes its repeats.
  EXPECT_EQ(stepTexts(buildOrderOf(play, 6)),
            (std::vector<std::string>{"0:25 House", "1:10 House x2", "2:30 Feudal Age", "3:00 Loom",
                                      "5:00 Barracks", "6:40 Militia x3"}));
  EXPECT_TRUE(buildOrderOf(PlayerPlay()).empty());
}

TEST(BuildOrderTest, AReportNamesStepsInJapaneseWhereTheGameDoesElseInEnglish) {
  const StepNamer name = reportStepNamer(VersionFamily::kAoC10c);
  EXPECT_EQ(name(StepKind::kResearch, 22), u8"機織り");
  EXPECT_EQ(name(StepKind::kUnit, 4), u8"射手");
  EXPECT_EQ(name(StepKind::kBuilding, 12), u8"戦士育成所");
  EXPECT_EQ(name(StepKind::kResearch, 4), "El Dorado");  // no Japanese string
  EXPECT_EQ(name(StepKind::kResearch, 70), "");            // no technology 70
  EXPECT_EQ(buildStepText({60000, StepKind::kResearch, 70, 1}, name), "1:00 #70");
}

TEST(GameReportTest, ThePlayAddsEachPlayersActionsPerMinuteAndBuildOrderByNumber) {
  GameEntry entry = twoPlayerGame();
  entry.playerNames[3] = "Cy";  // co-op with Ann: player 2 too
  entry.playerNumbers[3] = 2;
  GameReport report = buildGameReport(entry);
  EXPECT_FALSE(report.hasPlay);
  EXPECT_FALSE(report.players[0].actionsPerMinute);
  GamePlay play;
  play.durationMs = 1200000;
  play.players[2].actions = 900;
  play.players[2].actionsByMinute = {20, 50, 40};
  play.players[2].research = {{90000, 22}};
  play.players[2].units = {{30000, 83, 1}, {100000, 4, 5}};
  addPlay(report, play, testName);
  EXPECT_TRUE(report.hasPlay);
  EXPECT_EQ(report.playDurationMs, 1200000);
  const ReportPlayer& ann = report.players[0];
  ASSERT_TRUE(ann.actionsPerMinute);
  EXPECT_DOUBLE_EQ(*ann.actionsPerMinute, 45.0);
  EXPECT_EQ(ann.actionsByMinute, (std::vector<int32_t>{20, 50, 40}));
  EXPECT_EQ(ann.buildOrderText, (std::vector<std::string>{"1:30 Loom", "1:40 Archer x5"}));
  EXPECT_EQ(report.players[2].buildOrderText, ann.buildOrderText);
  // Bob, player 1, gave no command.
  ASSERT_TRUE(report.players[1].actionsPerMinute);
  EXPECT_EQ(*report.players[1].actionsPerMinute, 0.0);
  EXPECT_TRUE(report.players[1].buildOrder.empty());
  // The ages the chart marks: reached where known, else the click.
  EXPECT_EQ(ann.ageMs[0], 730000);
  EXPECT_EQ(report.players[1].ageMs[2], 2400000);
  EXPECT_FALSE(report.players[1].ageMs[0]);
}

TEST(CivilisationNamesTest, EveryEditionsIdsByFullNameAndLaterOnesByNumber) {
  const struct {
    int32_t civId;
    VersionFamily family;
    const char* name;
  } cases[] = {
      {0, VersionFamily::kAoC10c, ""},
      {1, VersionFamily::kAoC10c, "Britons"},
      {18, VersionFamily::kAoC10c, "Koreans"},
      {20, VersionFamily::kHD, "Indians"},
      {31, VersionFamily::kUserPatch15, "Vietnamese"},
      {39, VersionFamily::kUnknown, "Bohemians"},
      {46, VersionFamily::kHD, "#46"},
      {-1, VersionFamily::kAoC10c, "#-1"},
      // The Definitive Edition's own names, and its list past the others' end.
      {20, VersionFamily::kDE, "Hindustanis"},
      {45, VersionFamily::kDE, "Georgians"},
      {46, VersionFamily::kDE, "Achaemenids"},
      {53, VersionFamily::kDE, "Khitans"},
      {59, VersionFamily::kDE, "Tupi"},
      {60, VersionFamily::kDE, "#60"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(civilisationName(c.civId, c.family), c.name) << c.civId;
  }
  EXPECT_EQ(civilisationNameInJapanese(0), "");
  EXPECT_EQ(civilisationNameInJapanese(4), u8"チュートン");
  EXPECT_EQ(civilisationNameInJapanese(23), u8"スラヴ");
  EXPECT_EQ(civilisationNameInJapanese(45), u8"ジョージア");
  EXPECT_EQ(civilisationNameInJapanese(59), u8"トゥピ");
  EXPECT_EQ(civilisationNameInJapanese(60), "#60");
}

// Technologies and units by the game's ids: the edition's own name where it
// differs, the Definitive Edition's otherwise; Japanese only for a name the
// Japanese table gives.
TEST(PlayNamesTest, EachEditionsNameOfAnIdAndItsJapanese) {
  const auto text = [](const char* name) { return std::string(name ? name : "(none)"); };
  const struct {
    bool technology;
    int32_t id;
    VersionFamily family;
    const char* english;
    const char* japanese;
  } cases[] = {
      {true, 22, VersionFamily::kAoC10c, "Loom", u8"機織り"},
      {true, 7, VersionFamily::kAoK, "Mahouts", "(none)"},
      {true, 7, VersionFamily::kHD, "Mahouts", "(none)"},
      {true, 7, VersionFamily::kDE, "Citadels", u8"城塞"},
      {false, 83, VersionFamily::kUserPatch15, "Villager", u8"町の人"},
      {false, 33, VersionFamily::kAoC10c, "Castle", "(none)"},
      {false, 128, VersionFamily::kHD, "Trade Cart (Empty)", "(none)"},
      {false, 128, VersionFamily::kDE, "Trade Cart", u8"荷馬車"},
      {false, 60000, VersionFamily::kDE, "(none)", "(none)"},
      {true, 99999, VersionFamily::kAoC10c, "(none)", "(none)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(text(c.technology ? technologyName(c.id, c.family) : unitName(c.id, c.family)),
              c.english);
    EXPECT_EQ(text(c.technology ? technologyNameInJapanese(c.id, c.family)
                                : unitNameInJapanese(c.id, c.family)),
              c.japanese);
  }
}

// One table for every view: each id to the last any edition writes has its
// names and a pane abbreviation of at most three letters that no other
// civilisation shares.
TEST(CivilisationNamesTest, EveryIdHasItsNamesAndItsOwnAbbreviation) {
  std::set<std::string> abbreviations;
  int32_t last = 0;
  for (int32_t id = 1; civilisationOf(id) != nullptr; ++id) {
    SCOPED_TRACE(id);
    const Civilisation& civ = *civilisationOf(id);
    EXPECT_STRNE(civ.english, "");
    EXPECT_STRNE(civ.japanese, "");
    const std::string abbreviation = civilisationAbbreviation(id);
    EXPECT_FALSE(abbreviation.empty());
    EXPECT_LE(abbreviation.size(), 3u);
    EXPECT_TRUE(abbreviations.insert(abbreviation).second) << abbreviation;
    last = id;
  }
  EXPECT_GE(last, 59);
  EXPECT_EQ(civilisationAbbreviation(0), "");
  EXPECT_EQ(civilisationAbbreviation(last + 1), "");
}

// GBK bytes: "玩家" and "阿拉伯".
const std::string kGbkPlayer = "\xCD\xE6\xBC\xD2";
const std::string kGbkArabia = "\xB0\xA2\xC0\xAD\xB2\xAE";

TEST(GameReportTest, TextsAreDecodedFromTheRecordingsCodePageWithChatAndItsTimes) {
  GameEntry entry = twoPlayerGame();
  entry.exactName = u8"対戦.mgx";
  entry.playerNames[1] = kGbkPlayer;
  entry.mapName = kGbkArabia;
  entry.lobbyChat = kGbkPlayer + ": gl\r\n";
  entry.gameChat = "hi\r\n" + kGbkPlayer + "\r\n";
  GameFacts& facts = entry.facts.write();
  facts.codePage = 936;
  facts.gameChatTimesMs = {std::nullopt, 754000};
  GameReport report = buildGameReport(entry);
  EXPECT_EQ(report.fileName, u8"対戦.mgx");
  EXPECT_EQ(report.players[0].name, u8"玩家");
  EXPECT_EQ(line(report, ReportFact::kMap)->text, u8"阿拉伯");
  ASSERT_EQ(report.chat.size(), 3u);
  EXPECT_FALSE(report.chat[0].inGame);
  EXPECT_EQ(report.chat[0].text, u8"玩家: gl");
  EXPECT_FALSE(report.chat[0].timeMs);
  EXPECT_TRUE(report.chat[1].inGame);
  EXPECT_FALSE(report.chat[1].timeMs);
  EXPECT_EQ(report.chat[2].text, u8"玩家");
  EXPECT_EQ(report.chat[2].timeMs, 754000);

  // UTF-8 of the later editions, a byte that starts no character replaced.
  facts.codePage = 65001;
  entry.playerNames[1] = u8"Jörg\xFF";
  report = buildGameReport(entry);
  EXPECT_EQ(report.players[0].name, u8"Jörg\uFFFD");
  // Times that do not pair with the lines are not shown at all.
  facts.gameChatTimesMs = {1000};
  for (const ReportChat& chat : buildGameReport(entry).chat) EXPECT_FALSE(chat.timeMs);
  // The reader's own "unknown" map (code page 932) whatever the recording's.
  entry.mapName = kMapTypeNotFound;
  EXPECT_EQ(line(buildGameReport(entry), ReportFact::kMap)->text, u8"不明");
}

// The shared recordings' players as their truth files name them, decoded
// here from the code page each is known to be written in.
struct SharedGame {
  const char* file;
  const char* truth;  // suffix of its truth file
  int32_t codePage;
};

std::string fromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

TEST(GameReportTest, SharedRecordingsNamesAsTheirTruthFilesInUnicode) {
  namespace fs = std::filesystem;
  const fs::path dir(MORVANE_RECORDINGS_DIR);
  if (!fs::is_directory(dir)) GTEST_SKIP() << "no real recordings at " << dir;
  const SharedGame games[] = {{"aoc10a_4v4_standard_1.mgx", ".truth.json", 936},
                              {"hd-5.8.aoe2record", ".truth.json", 65001},
                              {"de-13.17.aoe2record", ".de-truth.json", 65001}};
  fixtures::TempFolder folder;
  for (const SharedGame& game : games) {
    SCOPED_TRACE(game.file);
    const auto json = fixtures::readFile((dir / (std::string(game.file) + game.truth)).string());
    testing_json::Value truth;
    ASSERT_TRUE(testing_json::Parser(std::string(json.begin(), json.end())).parse(truth));
    std::vector<std::string> expected;
    if (truth.has("dePlayers")) {
      for (const testing_json::Value& player : truth["dePlayers"].items)
        expected.push_back(player["name"].text);
    } else {
      const auto decoder = platform::makeTextDecoder(game.codePage == 65001 ? 0 : game.codePage);
      for (std::size_t k = 1; k < truth["playerNames"].items.size(); ++k) {
        const std::string bytes = fromHex(truth["playerNames"][k].text);
        if (bytes.empty()) continue;
        expected.push_back(game.codePage == 65001 ? bytes : decoder->toUtf8(bytes));
      }
    }
    // The shared folder is read-only: load a copy, as the temporary file goes beside it.
    const std::string copy = folder.file(game.file);
    ASSERT_TRUE(fixtures::writeFile(copy, fixtures::readFile((dir / game.file).string())));
    RecordedGameFile file;
    ASSERT_TRUE(file.load(copy));
    GameEntry entry;
    file.parseGame(entry);
    EXPECT_EQ(entry.facts.read().codePage, game.codePage);
    const GameReport report = buildGameReport(entry);
    std::vector<std::string> names;
    for (const ReportPlayer& player : report.players) names.push_back(player.name);
    EXPECT_EQ(names, expected);
    // Their bodies are walked to the end: every line of the game has its time.
    for (const ReportChat& chat : report.chat) {
      if (chat.inGame) {
        EXPECT_TRUE(chat.timeMs) << chat.text;
      }
    }
  }
}

}  // namespace
}  // namespace morvane
