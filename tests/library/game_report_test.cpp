#include "library/game_report.h"

#include <gtest/gtest.h>

#include "library/civilisation_names.h"
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
  facts.version = {VersionFamily::kAoC10c, 11.76f};
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
  EXPECT_EQ(ann.civilisation, "Koreans");
  EXPECT_EQ(ann.colourIndex, 8);  // colour 7, orange
  EXPECT_EQ(ann.team, "1");
  EXPECT_EQ(ann.result, PlayerResult::kWon);
  EXPECT_EQ(ann.ages[0], "0:10:00 (0:12:10)");
  EXPECT_EQ(ann.ages[1], "(0:22:10)");
  EXPECT_EQ(ann.ages[2], "");
  EXPECT_EQ(ann.score, "4321");
  EXPECT_EQ(ann.rating, "");
  const ReportPlayer& bob = report.players[1];
  EXPECT_EQ(bob.civilisation, "Georgians");
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
  definitive.facts.write().version = {VersionFamily::kDE, 63.0f};
  EXPECT_EQ(line(buildGameReport(definitive), ReportFact::kSpeed)->choice,
            static_cast<int32_t>(Speed::kCasual));
  definitive.facts.write().settings.speed = 1.69f;
  EXPECT_EQ(line(buildGameReport(definitive), ReportFact::kSpeed)->choice,
            static_cast<int32_t>(Speed::kNormal));
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
}

}  // namespace
}  // namespace morvane
