#include "library/list_presentation.h"

#include <gtest/gtest.h>

#include "library_fixture.h"
#include "support/utc_time.h"

namespace morvane::fixtures {
namespace {

TEST(FormatModifiedTest, PadsMonthDayMinuteAndRightAlignsTheHour) {
  EXPECT_EQ(formatModified(utcTime(2005, 8, 20, 9, 5, 33)), "2005/08/20  9:05");
  EXPECT_EQ(formatModified(utcTime(2004, 12, 31, 23, 59)), "2004/12/31 23:59");
  EXPECT_EQ(formatModified(utcTime(2005, 3, 1, 7, 0)), "2005/03/01  7:00");
  EXPECT_EQ(formatModified(EntryTime{}), "0/00/00  0:00");
}

class FilterTest : public LibraryTest {};

// Each row: an entry, a filter and whether the entry stays in the list.
TEST_F(FilterTest, KeepsEntriesWhoseNamesHoldTheFilter) {
  GameEntry withPov = fileEntry("rec001.mgx", "Arabia");
  withPov.povName = "Hero";
  const struct {
    const char* why;
    GameEntry entry;
    std::string filter;
    bool passes;
  } cases[] = {
      {"empty filter, folder", folderEntry("sub"), "", true},
      {"empty filter, empty name", fileEntry(""), "", true},
      {"upper-case name", fileEntry("ARENA.mgx"), "arena", true},
      {"upper-case filter", fileEntry("arena.mgx"), "ARENA", true},
      {"another name", fileEntry("arena.mgx"), "arabia", false},
      // Full-width "ａ" in the name, full-width "Ａ" in the filter.
      {"full-width letters across case", fileEntry("\x82\x81.mgx"), "\x82\x60", true},
      {"map name", withPov, "arab", true},
      {"pov name", withPov, "hero", true},
      {"neither map nor pov name", withPov, "islands", false},
      {"a space, none in the name", fileEntry("nospace.mgx"), " ", false},
      {"a space in the name", fileEntry("with space.mgx"), " ", true},
      // 0x83 0x41 is a katakana whose second byte is 'A'.
      {"trail byte 'A'", fileEntry("\x83\x41.mgx"), "a", false},
      {"trail byte backslash", folderEntry("\x95\x5C"), "\\", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(passesFilter(c.entry, c.filter, *codePage), c.passes);
  }
}

class FillListTest : public LibraryTest {};

TEST_F(FillListTest, OneRowPerEntryWithItsCells) {
  GameEntry game = fileEntry("a.mgx", "Arabia");
  game.iconIndex = 1;
  game.povIndex = 2;
  game.playerNames[2] = "Hero";
  game.modified = utcTime(2005, 8, 20, 9, 5);
  GameEntry sub = folderEntry("sub");
  addAll({sub, game});
  fillList(context());
  ASSERT_EQ(rows->count(), 2);
  EXPECT_EQ(rows->storeIndex(0), 0) << "rows in store order until sorted";
  EXPECT_EQ(rows->cellText(0, kColumnName), "sub");
  EXPECT_EQ(rows->cellText(1, kColumnName), "a.mgx");
  EXPECT_EQ(rows->entry(1).iconIndex, 1);
  EXPECT_EQ(rows->cellText(1, kColumnPov), "Hero");
  EXPECT_EQ(rows->cellText(1, kColumnMap), "Arabia");
  EXPECT_EQ(rows->cellText(1, kColumnModified), "2005/08/20  9:05");
  EXPECT_EQ(rows->cellText(1, kColumns), "") << "no such column";
  EXPECT_EQ(rows->cellText(2, kColumnName), "") << "no such row";
  EXPECT_EQ(rows->storeIndex(2), -1);
}

// A recording that states no map type text shows the built-in map its lobby
// names (in Japanese where known, code page 932), in the cell, the filter
// and the sort alike; an .mgx row keeps the reader's text.
TEST_F(FillListTest, MapCellNamesTheLobbysBuiltInMapOutsideMgxRows) {
  const auto game = [](const char* name, std::optional<int32_t> mapId, const char* mapName) {
    GameEntry entry = fileEntry(name, mapName);
    GameFacts& facts = entry.facts.write();
    facts.version.family = VersionFamily::kDE;
    facts.mapId = mapId;
    return entry;
  };
  const struct {
    GameEntry entry;
    std::string cell;
  } cases[] = {
      {game("a.aoe2record", 9, kMapTypeNotFound), "\x83\x41\x83\x89\x83\x72\x83\x41"},
      {game("b.aoe2record", 13, kMapTypeNotFound), "Coastal"},
      {game("c.aoe2record", 75, kMapTypeNotFound), "Steppe"},
      {game("d.aoe2record", 59, kMapTypeNotFound), kMapTypeNotFound},  // a custom map
      {game("e.aoe2record", std::nullopt, kMapTypeNotFound), kMapTypeNotFound},
      {game("f.aoe2record", 9, "Oasis"), "Oasis"},
      {game("g.mgx", 9, kMapTypeNotFound), kMapTypeNotFound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry.fileName);
    EXPECT_EQ(mapCellText(c.entry, *codePage), c.cell);
  }
  EXPECT_TRUE(passesFilter(cases[1].entry, "coast", *codePage));
  EXPECT_FALSE(passesFilter(cases[6].entry, "arab", *codePage));
}

TEST_F(FillListTest, RowsShowStoreIndicesWhateverTheFilterRemoved) {
  addAll({fileEntry("keep1.mgx"), fileEntry("drop.mgx"), fileEntry("keep2.mgx")});
  filterText = "keep";
  fillList(context());
  ASSERT_EQ(rows->count(), 2);
  EXPECT_EQ(rows->storeIndex(0), 0);
  EXPECT_EQ(rows->storeIndex(1), 2);
  EXPECT_EQ(rows->rowOf(2), 1);
  EXPECT_EQ(rows->rowOf(1), -1) << "filtered out";
}

TEST_F(FillListTest, FolderRowsStayOnlyWhenTheirNameMatches) {
  addAll({folderEntry("Arabia games"), folderEntry("other"), fileEntry("x.mgx", "Arabia")});
  filterText = "arabia";
  fillList(context());
  EXPECT_EQ(rows->count(), 2);
  for (int i = 0; i < rows->count(); ++i) EXPECT_NE(rows->cellText(i, 0), "other");
}

TEST_F(FillListTest, PovCellOnlyForIndexOneToEightThroughTheTable) {
  playerNameTable["Hero"] = "Shown";
  GameEntry mapped = fileEntry("mapped.mgx", "M");
  mapped.povIndex = 8;
  mapped.playerNames[8] = "Hero";
  GameEntry unmapped = fileEntry("unmapped.mgx", "M");
  unmapped.povIndex = 1;
  unmapped.playerNames[1] = "hero";
  GameEntry outside = fileEntry("outside.mgx", "M");
  outside.povIndex = 0;
  outside.playerNames[0] = "Hero";
  GameEntry beyond = fileEntry("beyond.mgx", "M");
  beyond.povIndex = 9;
  addAll({mapped, unmapped, outside, beyond});
  fillList(context());
  ASSERT_EQ(rows->count(), 4);
  std::map<std::string, std::string> povByName;
  for (int i = 0; i < 4; ++i) povByName[rows->cellText(i, 0)] = rows->cellText(i, 1);
  EXPECT_EQ(povByName["mapped.mgx"], "Shown");
  EXPECT_EQ(povByName["unmapped.mgx"], "hero");
  EXPECT_EQ(povByName["outside.mgx"], "");
  EXPECT_EQ(povByName["beyond.mgx"], "");
}

// The list is drawn in the window's code page (932 here): names and map
// texts of the other editions are changed into it from the recording's own
// code page, a character it lacks becoming '?'; .mgx rows keep their bytes.
TEST_F(FillListTest, OtherEditionsTextsShowInTheWindowsCodePage) {
  const auto game = [](const char* name, int32_t recordingCodePage, const char* pov,
                       const char* map) {
    GameEntry entry = fileEntry(name, map);
    entry.povIndex = 2;
    entry.playerNames[2] = pov;
    entry.facts.write().codePage = recordingCodePage;
    return entry;
  };
  playerNameTable["\x8F\xBC"] = "Shown";  // "松" in code page 932
  const struct {
    GameEntry entry;
    std::string pov;
    std::string map;
  } cases[] = {
      // "田中" and "砂漠" in UTF-8.
      {game("de.aoe2record", 65001, "\xE7\x94\xB0\xE4\xB8\xAD", "\xE7\xA0\x82\xE6\xBC\xA0"),
       "\x93\x63\x92\x86", "\x8D\xBB\x94\x99"},
      // "é" has no character in code page 932, and no look-alike is taken.
      {game("hd.aoe2record", 1252, "Jos\xE9", "Arabia"), "Jos?", "Arabia"},
      {game("de2.aoe2record", 65001, "\xE6\x9D\xBE", "M"), "Shown", "M"},
      // An unused UTF-8 lead byte.
      {game("bad.aoe2record", 65001, "a\xFF", "M"), "a?", "M"},
      {game("old.mgx", 65001, "\xE7\x94\xB0", "\xE7\xA0\x82"), "\xE7\x94\xB0", "\xE7\xA0\x82"},
      {game("jp.mgx", 932, "\x93\x63", "\x8D\xBB"), "\x93\x63", "\x8D\xBB"},
  };
  std::vector<GameEntry> entries;
  for (const auto& c : cases) entries.push_back(c.entry);
  addAll(entries);
  fillList(context());
  ASSERT_EQ(rows->count(), static_cast<int>(std::size(cases)));
  for (int row = 0; row < rows->count(); ++row) {
    const auto& c = cases[row];
    SCOPED_TRACE(c.entry.fileName);
    EXPECT_EQ(rows->cellText(row, kColumnPov), c.pov);
    EXPECT_EQ(rows->cellText(row, kColumnMap), c.map);
  }
  EXPECT_EQ(povPlayerName(cases[0].entry, playerNameTable), cases[0].entry.playerNames[2])
      << "the recording's own bytes for the inspector";
}

TEST_F(FillListTest, RebuildReplacesEveryRow) {
  addAll({fileEntry("a.mgx"), fileEntry("b.mgx")});
  fillList(context());
  filterText = "b";
  fillList(context());
  ASSERT_EQ(rows->count(), 1);
  EXPECT_EQ(rows->cellText(0, 0), "b.mgx");
  EXPECT_EQ(rows->storeIndex(0), 1);
}

}  // namespace
}  // namespace morvane::fixtures
