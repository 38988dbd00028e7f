// The map type line search over its window of the header, and mapName.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "recording/code_page.h"
#include "recording/header_stages.h"
#include "recording/map_names.h"
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

TEST_F(MapTypeTest, EveryLanguageLabelIsRecognisedWithItsCodePage) {
  const struct {
    std::string_view label;
    std::string_view separator;
    int32_t codePage;
  } labels[] = {
      {fixtures::kLabelJapanese, ": ", 932},
      {fixtures::kLabelEnglish, ": ", 1252},
      {fixtures::kLabelSpanish, ": ", 1252},
      {fixtures::kLabelGerman, ": ", 1252},
      {fixtures::kLabelChinese, ": ", 936},
      {fixtures::kLabelKorean, ": ", 949},
      {fixtures::kLabelChineseFullWidth, fixtures::kColonGbk, 936},
      {fixtures::kLabelTaiwanese, fixtures::kColonBig5, 950},
  };
  for (const auto& [label, separator, codePage] : labels) {
    SCOPED_TRACE(std::string(label));
    h = HeaderBuilder{};
    lineAt(120000, label, "\xB0\xA2 Map\xFF", "\n", separator);
    EXPECT_EQ(mapName(), "\xB0\xA2 Map\xFF");
    const std::vector<uint8_t>& bytes = h.bytes();
    EXPECT_EQ(findMapTypeLine(ByteSpan(bytes.data(), bytes.size())).codePage, codePage);
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

// The code page from the texts' bytes where no label tells it, and the later
// edition's UTF-8 before the label.
TEST(CodePageTest, TextsAndLabelDecideTheCodePage) {
  const struct {
    const char* why;
    VersionFamily family;
    int32_t label;
    std::vector<std::string_view> texts;
    int32_t codePage;
  } cases[] = {
      {"plain ASCII tells nothing", VersionFamily::kAoC10c, 0, {"Arabia", "North"}, 0},
      {"accented letters", VersionFamily::kAoC10c, 0, {"Jos\xE9", "M\xFCller"}, 1252},
      {"kana", VersionFamily::kAoC10c, 0, {"\x82\xA0\x82\xA2\x83\x4A"}, 932},
      {"GB2312 characters", VersionFamily::kAoC10, 0, {"\xCB\xAB\xD3\xE3", "\xB0\xA2"}, 936},
      {"Big5 trail bytes below A1",
       VersionFamily::kAoC10c,
       0,
       {"\xA6\x61\xB9\xCF\xC3\xFE\xA7\x4F"},
       950},
      {"a dozen Korean syllables",
       VersionFamily::kAoC10c,
       0,
       {"\xC1\xF6\xB5\xB5 \xC1\xBE\xB7\xF9", "\xB0\xA1\xB3\xAA\xB4\xD9\xB6\xF3",
        "\xB8\xB6\xB9\xD9\xBB\xE7\xBE\xC6"},
       949},
      {"the label over the names", VersionFamily::kAoC10c, 1252, {"\xCB\xAB\xD3\xE3"}, 1252},
      {"the later edition's UTF-8 over the label",
       VersionFamily::kHD,
       1252,
       {"\xCE\x9A\xCE\xBB", "Thomas"},
       65001},
      {"the later edition's ASCII", VersionFamily::kHD, 0, {"Thomas"}, 65001},
      {"not UTF-8 in the later edition", VersionFamily::kHD, 936, {"\xCB\xAB\xD3\xE3"}, 936},
      {"only the later edition writes UTF-8", VersionFamily::kAoC10c, 0, {"\xCE\x9A\xCE\xBB"}, 936},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(findCodePage({c.family, c.label, c.texts}), c.codePage);
  }
}

TEST(CodePageTest, Utf8IsCheckedStrictly) {
  EXPECT_TRUE(validUtf8("\xF0\x9F\x98\x80 \xE2\x82\xAC"));
  EXPECT_FALSE(validUtf8("\xE0\x80\xAF"));      // overlong
  EXPECT_FALSE(validUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(validUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(validUtf8("\xE2\x82"));          // cut short
}

// The ids both editions share, Yucatan and Salt Marsh as the games' own map
// type lines name them, the later editions' own numberings (the Definitive
// Edition's special maps where The Conquerors has its real-world ones, and
// those 15 above), and no name for a
// custom map (59 in the Definitive Edition), an unknown id or the base game.
TEST(MapNameTest, BuiltInMapsByIdAndEdition) {
  const struct {
    int32_t id;
    VersionFamily family;
    std::string_view name;
  } cases[] = {
      {9, VersionFamily::kAoC10c, "Arabia"},  {9, VersionFamily::kHD, "Arabia"},
      {27, VersionFamily::kAoC10, "Yucatan"}, {28, VersionFamily::kUserPatch14, "Salt Marsh"},
      {27, VersionFamily::kHD, "Yucatan"},    {43, VersionFamily::kUserPatch15, "Byzantium"},
      {44, VersionFamily::kAoC10c, ""},       {44, VersionFamily::kHD, ""},
      {57, VersionFamily::kHD, "Lombardia"},  {58, VersionFamily::kHD, "Steppe"},
      {59, VersionFamily::kHD, ""},     {60, VersionFamily::kHD, "MegaRandom"},
      {58, VersionFamily::kAoC10c, ""},       {48, VersionFamily::kHD, ""},
      {9, VersionFamily::kAoK, ""},           {-1, VersionFamily::kAoC10c, ""},
      {1000, VersionFamily::kHD, ""},         {8, VersionFamily::kAoC10c, ""},
      {49, VersionFamily::kDE, "Iberia"},     {58, VersionFamily::kDE, "Byzantium"},
      {59, VersionFamily::kDE, ""},           {67, VersionFamily::kDE, "Acropolis"},
      {13, VersionFamily::kDE, "Coastal"},    {34, VersionFamily::kAoC10c, "Iberia"},
      {34, VersionFamily::kDE, "Canals"},     {140, VersionFamily::kDE, "Four Lakes"},
      {215, VersionFamily::kDE, "Vulpine"},   {137, VersionFamily::kDE, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(builtInMapName(c.id, c.family), c.name);
  }
}

}  // namespace
}  // namespace morvane
