#include "library/list_presentation.h"

#include <gtest/gtest.h>

#include "library_fixture.h"

namespace morvane::testing {
namespace {

EntryTime at(int year, int month, int day, int hour, int minute, int second = 0) {
  EntryTime time;
  time.year = static_cast<uint16_t>(year);
  time.month = static_cast<uint16_t>(month);
  time.day = static_cast<uint16_t>(day);
  time.hour = static_cast<uint16_t>(hour);
  time.minute = static_cast<uint16_t>(minute);
  time.second = static_cast<uint16_t>(second);
  return time;
}

TEST(FormatModifiedTest, PadsMonthDayMinuteAndRightAlignsTheHour) {
  EXPECT_EQ(formatModified(at(2005, 8, 20, 9, 5, 33)), "2005/08/20  9:05");
  EXPECT_EQ(formatModified(at(2004, 12, 31, 23, 59)), "2004/12/31 23:59");
  EXPECT_EQ(formatModified(at(2005, 3, 1, 7, 0)), "2005/03/01  7:00");
  EXPECT_EQ(formatModified(EntryTime{}), "0/00/00  0:00");
}

class FilterTest : public LibraryTest {};

TEST_F(FilterTest, EmptyFilterPassesEverything) {
  EXPECT_TRUE(passesFilter(folderEntry("sub"), "", *codePage));
  EXPECT_TRUE(passesFilter(fileEntry(""), "", *codePage));
}

TEST_F(FilterTest, CaseIsIgnoredBothWays) {
  EXPECT_TRUE(passesFilter(fileEntry("ARENA.mgx"), "arena", *codePage));
  EXPECT_TRUE(passesFilter(fileEntry("arena.mgx"), "ARENA", *codePage));
  EXPECT_FALSE(passesFilter(fileEntry("arena.mgx"), "arabia", *codePage));
}

TEST_F(FilterTest, FullWidthLettersMatchAcrossCase) {
  // Full-width "ａ" in the name, full-width "Ａ" in the filter.
  EXPECT_TRUE(passesFilter(fileEntry("\x82\x81.mgx"), "\x82\x60", *codePage));
}

TEST_F(FilterTest, MatchesMapAndPovNames) {
  GameEntry entry = fileEntry("rec001.mgx", "Arabia");
  entry.povName = "Hero";
  EXPECT_TRUE(passesFilter(entry, "arab", *codePage));
  EXPECT_TRUE(passesFilter(entry, "hero", *codePage));
  EXPECT_FALSE(passesFilter(entry, "islands", *codePage));
}

TEST_F(FilterTest, SpaceIsAFilterLikeAnyOther) {
  EXPECT_FALSE(passesFilter(fileEntry("nospace.mgx"), " ", *codePage));
  EXPECT_TRUE(passesFilter(fileEntry("with space.mgx"), " ", *codePage));
}

TEST_F(FilterTest, NeverMatchesOnATrailByte) {
  // 0x83 0x41 is a katakana whose second byte is 'A'.
  EXPECT_FALSE(passesFilter(fileEntry("\x83\x41.mgx"), "a", *codePage));
  EXPECT_FALSE(passesFilter(folderEntry("\x95\x5C"), "\\", *codePage));
}

class FillListTest : public LibraryTest {};

TEST_F(FillListTest, OneRowPerEntryWithItsCells) {
  GameEntry game = fileEntry("a.mgx", "Arabia");
  game.iconIndex = 1;
  game.povIndex = 2;
  game.playerNames[2] = "Hero";
  game.modified = at(2005, 8, 20, 9, 5);
  GameEntry sub = folderEntry("sub");
  addAll({sub, game});
  fillList(context());
  ASSERT_EQ(rows.getItemCount(), 2);
  for (int i = 0; i < 2; ++i) {
    const RowModel::Row& row = rows.row(i);
    const GameEntry& entry = store.at(static_cast<int32_t>(row.data));
    EXPECT_EQ(row.cells[0], entry.fileName);
    EXPECT_EQ(row.image, entry.iconIndex);
  }
  const RowModel::Row& gameRow = rows.row(0).data == 1 ? rows.row(0) : rows.row(1);
  EXPECT_EQ(gameRow.cells[1], "Hero");
  EXPECT_EQ(gameRow.cells[2], "Arabia");
  EXPECT_EQ(gameRow.cells[3], "2005/08/20  9:05");
}

TEST_F(FillListTest, ItemDataIsTheStoreIndexWhateverTheFilterRemoved) {
  addAll({fileEntry("keep1.mgx"), fileEntry("drop.mgx"), fileEntry("keep2.mgx")});
  filterText = "keep";
  fillList(context());
  ASSERT_EQ(rows.getItemCount(), 2);
  std::vector<intptr_t> data = {rows.getItemData(0), rows.getItemData(1)};
  std::sort(data.begin(), data.end());
  EXPECT_EQ(data, (std::vector<intptr_t>{0, 2}));
}

TEST_F(FillListTest, FolderRowsStayOnlyWhenTheirNameMatches) {
  addAll({folderEntry("Arabia games"), folderEntry("other"), fileEntry("x.mgx", "Arabia")});
  filterText = "arabia";
  fillList(context());
  EXPECT_EQ(rows.getItemCount(), 2);
  for (int i = 0; i < rows.getItemCount(); ++i) EXPECT_NE(rows.getItemText(i, 0), "other");
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
  ASSERT_EQ(rows.getItemCount(), 4);
  std::map<std::string, std::string> povByName;
  for (int i = 0; i < 4; ++i) povByName[rows.getItemText(i, 0)] = rows.getItemText(i, 1);
  EXPECT_EQ(povByName["mapped.mgx"], "Shown");
  EXPECT_EQ(povByName["unmapped.mgx"], "hero");
  EXPECT_EQ(povByName["outside.mgx"], "");
  EXPECT_EQ(povByName["beyond.mgx"], "");
}

TEST_F(FillListTest, RebuildReplacesEveryRow) {
  addAll({fileEntry("a.mgx"), fileEntry("b.mgx")});
  fillList(context());
  filterText = "b";
  fillList(context());
  ASSERT_EQ(rows.getItemCount(), 1);
  EXPECT_EQ(rows.getItemText(0, 0), "b.mgx");
  EXPECT_EQ(rows.getItemData(0), 1);
}

}  // namespace
}  // namespace morvane::testing
