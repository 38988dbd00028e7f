// The map type line search over its window of the header, and mapName.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "recording_writer/recording_writer.h"
#include "support/bare_header.h"
#include "support/parse_recording.h"

namespace morvane {
namespace {

using fixtures::HeaderBuilder;
using fixtures::kUnknownMap;

const std::string kUnknown{kUnknownMap};

class MapTypeTest : public ::testing::Test {
 protected:
  MapTypeTest() { fixtures::mapWithoutRecords(h); }

  // "label: text" + end with the space (the separator's last byte) at space.
  void lineAt(int64_t space, std::string_view label, std::string_view text,
              std::string_view end = "\n", std::string_view separator = ": ") {
    h.padTo(space - static_cast<int64_t>(label.size() + separator.size()) + 1);
    ASSERT_EQ(h.mapTypeLine(label, text, end, separator), space);
  }

  std::string mapName(int64_t headerLength = 200000) {
    h.padTo(headerLength);
    const fixtures::ParsedRecording parsed = fixtures::parseRecording(h.bytes());
    EXPECT_TRUE(parsed.loaded);
    return parsed.entry.mapName;
  }

  HeaderBuilder h;
};

TEST_F(MapTypeTest, LineInsideTheWindowGivesItsText) {
  lineAt(150000, "Map Type", "Arabia");
  EXPECT_EQ(mapName(), "Arabia");
}

TEST_F(MapTypeTest, CarriageReturnBeforeTheLineFeedIsKept) {
  lineAt(150000, "Map Type", "Arabia", "\r\n");
  EXPECT_EQ(mapName(), "Arabia\r");
}

TEST_F(MapTypeTest, EveryLanguageLabelIsRecognised) {
  const std::pair<std::string_view, std::string_view> labels[] = {
      {fixtures::kLabelJapanese, ": "},
      {fixtures::kLabelEnglish, ": "},
      {fixtures::kLabelSpanish, ": "},
      {fixtures::kLabelGerman, ": "},
      {fixtures::kLabelChinese, ": "},
      {fixtures::kLabelKorean, ": "},
      {fixtures::kLabelChineseFullWidth, fixtures::kColonGbk},
      {fixtures::kLabelTaiwanese, fixtures::kColonBig5},
  };
  for (const auto& [label, separator] : labels) {
    SCOPED_TRACE(std::string(label));
    h = HeaderBuilder{};
    lineAt(120000, label, "\xB0\xA2 Map\xFF", "\n", separator);
    EXPECT_EQ(mapName(), "\xB0\xA2 Map\xFF");
  }
  // A full-width colon belongs to its own label only.
  h = HeaderBuilder{};
  lineAt(120000, fixtures::kLabelChineseFullWidth, "Arabia", "\n", fixtures::kColonBig5);
  EXPECT_EQ(mapName(), kUnknown);
}

TEST_F(MapTypeTest, KoreanLabelNeedsItsPlainSpace) {
  lineAt(120000, "\xC1\xF6\xB5\xB5\xC1\xBE\xB7\xF9", "Island");
  lineAt(130000, "\xC1\xF6\xB5\xB5\xA0\xC1\xBE\xB7\xF9", "Coast");
  EXPECT_EQ(mapName(), kUnknown);
}

TEST_F(MapTypeTest, ColonWithoutSpaceIsNotALabelLine) {
  h.padTo(150000);
  h.text("Map Type:Arabia\n");
  EXPECT_EQ(mapName(), kUnknown);
}

TEST_F(MapTypeTest, LabelMustEndRightBeforeTheColon) {
  lineAt(150000, "Map Type ", "Arabia");
  EXPECT_EQ(mapName(), kUnknown);
}

TEST_F(MapTypeTest, EmptyTextGivesUnknown) {
  lineAt(150000, "Map Type", "");
  EXPECT_EQ(mapName(), kUnknown);
}

TEST_F(MapTypeTest, NoLineGivesUnknown) { EXPECT_EQ(mapName(), kUnknown); }

TEST_F(MapTypeTest, HigherLineWins) {
  lineAt(120000, "Kartentyp", "Low");
  lineAt(160000, "Tipo de mapa", "High");
  EXPECT_EQ(mapName(), "High");
}

TEST_F(MapTypeTest, GaiaAboveTheLineEndsTheSearch) {
  lineAt(120000, "Map Type", "Arabia");
  h.padTo(140000);
  h.text("GAIA");
  EXPECT_EQ(mapName(), kUnknown);
}

TEST_F(MapTypeTest, GaiaBelowTheLineDoesNotMatter) {
  h.padTo(110000);
  h.text("GAIA");
  lineAt(140000, "Map Type", "Arabia");
  EXPECT_EQ(mapName(), "Arabia");
}

// The window is scanned a 64 KB block at a time from its top (382000 in a
// header of 400000 bytes): the rule's order must hold across and at the
// blocks' edges, with stray separators of every kind in between.
TEST_F(MapTypeTest, LabelsAndGaiaKeepTheirOrderAcrossScanBlocks) {
  constexpr int64_t kNone = 0;
  struct Case {
    int64_t english;  // the space of a "Map Type" line, or kNone
    int64_t gaia;     // the last byte of "GAIA", or kNone
    int64_t taiwanese;
    const char* expected;
  };
  const Case cases[] = {
      {316464, kNone, kNone, "English"},   // top of the second block
      {316465, 316440, kNone, "English"},  // bottom of the first, GAIA in the second
      {316400, 316465, kNone, nullptr},    // GAIA at the bottom of the first
      {120000, 200000, kNone, nullptr},    // blocks apart
      {120000, kNone, kNone, "English"},   // four blocks down
      {200000, 120000, kNone, "English"},
      {300000, 290000, kNone, "English"},    // GAIA below in the same block
      {300000, kNone, 300100, "Taiwanese"},  // separators of different kinds
      {300100, kNone, 300000, "English"},
      {300000, 250000, 240000, "English"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.english) + " " + std::to_string(c.gaia) + " " +
                 std::to_string(c.taiwanese));
    h = HeaderBuilder{};
    std::vector<std::pair<int64_t, int>> items = {{c.english, 0}, {c.gaia, 1}, {c.taiwanese, 2}};
    for (int64_t stray = 101000; stray < 380000; stray += 9973) items.push_back({stray, 3});
    std::sort(items.begin(), items.end());
    for (const auto& [at, kind] : items) {
      if (at == kNone) continue;
      if (kind == 0) lineAt(at, fixtures::kLabelEnglish, "English");
      if (kind == 1) {
        h.padTo(at - 3);
        h.text("GAIA");
      }
      if (kind == 2) lineAt(at, fixtures::kLabelTaiwanese, "Taiwanese", "\n", fixtures::kColonBig5);
      if (kind == 3) {
        h.padTo(at);
        h.text(std::string(": x") + std::string(fixtures::kColonGbk) + "y" +
               std::string(fixtures::kColonBig5) + "Map Type:z");
      }
    }
    EXPECT_EQ(mapName(400000), c.expected ? std::string(c.expected) : kUnknown);
  }
}

TEST_F(MapTypeTest, TextIsCutAfter100Bytes) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += static_cast<char>('A' + i % 26);
  lineAt(150000, "Map Type", text);
  EXPECT_EQ(mapName(), text.substr(0, 100));
}

TEST_F(MapTypeTest, NulEndsTheText) {
  lineAt(150000, "Map Type", std::string_view("Ara\0bia", 7));
  EXPECT_EQ(mapName(), "Ara");
}

TEST_F(MapTypeTest, LowestTestedSpaceIs100001) {
  lineAt(100001, "Map Type", "Lowest");
  EXPECT_EQ(mapName(), "Lowest");
}

TEST_F(MapTypeTest, ColonAt99999IsBelowTheWindow) {
  lineAt(100000, "Map Type", "Too low");
  EXPECT_EQ(mapName(), kUnknown);
}

TEST_F(MapTypeTest, HighestTestedSpaceIs18000BelowTheEnd) {
  lineAt(200000 - 18000, "Map Type", "Highest");
  EXPECT_EQ(mapName(200000), "Highest");
}

TEST_F(MapTypeTest, SpaceAboveTheWindowIsNotFound) {
  lineAt(200000 - 17999, "Map Type", "Too high");
  EXPECT_EQ(mapName(200000), kUnknown);
}

TEST_F(MapTypeTest, HeaderOf118000BytesIsNotSearched) {
  lineAt(100001, "Map Type", "Arabia");
  EXPECT_EQ(mapName(118000), kUnknown);
}

TEST_F(MapTypeTest, HeaderOf118001BytesIsSearchedAtOnePosition) {
  lineAt(100001, "Map Type", "Arabia");
  EXPECT_EQ(mapName(118001), "Arabia");
}

TEST(MapTypeScenarioTest, ScenarioRecordReplacesTheMapType) {
  fixtures::SampleGame game = fixtures::twoPlayerGame();
  game.scenarioRecords = {fixtures::ScenarioRecord{}};
  const fixtures::ParsedRecording parsed = fixtures::parseSampleGame(game);
  ASSERT_TRUE(parsed.loaded);
  EXPECT_EQ(parsed.entry.mapName, "scenario");
}

TEST(MapTypeScenarioTest, ScenarioWithoutMapTypeLineIsStillScenario) {
  fixtures::SampleGame game = fixtures::twoPlayerGame();
  game.withMapTypeLine = false;
  game.scenarioRecords = {fixtures::ScenarioRecord{}, fixtures::ScenarioRecord{}};
  const fixtures::ParsedRecording parsed = fixtures::parseSampleGame(game);
  ASSERT_TRUE(parsed.loaded);
  EXPECT_EQ(parsed.entry.mapName, "scenario");
}

}  // namespace
}  // namespace morvane
