#include "library/sorting.h"

#include <gtest/gtest.h>

#include "library/list_presentation.h"
#include "library_fixture.h"

namespace morvane::fixtures {
namespace {

class SortingTest : public LibraryTest {
 protected:
  // The comparisons over two store entries' keys, as the sort takes them.
  int ascending(int32_t a, int32_t b, int column) {
    std::string scratchA;
    std::string scratchB;
    return compareAscending(rowKey(store.at(a), column, *codePage, scratchA),
                            rowKey(store.at(b), column, *codePage, scratchB), *codePage);
  }
  int descending(int32_t a, int32_t b, int column) {
    std::string scratchA;
    std::string scratchB;
    return compareDescending(rowKey(store.at(a), column, *codePage, scratchA),
                             rowKey(store.at(b), column, *codePage, scratchB), *codePage);
  }
  std::vector<std::string> sortedNames(int column, bool up) {
    fillList(context());
    rows->sort(column, up);
    return rowNames();
  }
};

TEST_F(SortingTest, NamesInCollationOrder) {
  addAll({fileEntry("c.mgx"), fileEntry("game9.mgx"), fileEntry("B.mgx"), fileEntry("a.mgx"),
          fileEntry("game10.mgx")});
  EXPECT_EQ(sortedNames(kColumnName, true),
            (std::vector<std::string>{"a.mgx", "B.mgx", "c.mgx", "game10.mgx", "game9.mgx"}));
  EXPECT_EQ(sortedNames(kColumnName, false),
            (std::vector<std::string>{"game9.mgx", "game10.mgx", "c.mgx", "B.mgx", "a.mgx"}));
}

TEST_F(SortingTest, FoldersBeforeFilesAscendingAndAfterThemDescending) {
  addAll({fileEntry("a.mgx"), folderEntry("z"), fileEntry("b.mgx"), folderEntry("y")});
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(ascending(1, 0, column), -1) << column;
    EXPECT_EQ(ascending(0, 1, column), 1) << column;
    EXPECT_EQ(descending(1, 0, column), 1) << column;
  }
  EXPECT_EQ(sortedNames(kColumnName, true), (std::vector<std::string>{"y", "z", "a.mgx", "b.mgx"}));
  EXPECT_EQ(sortedNames(kColumnName, false),
            (std::vector<std::string>{"b.mgx", "a.mgx", "z", "y"}));
}

TEST_F(SortingTest, ByMapParsedGamesInOrderThenUnparsed) {
  addAll({fileEntry("u1.mgx"), fileEntry("p1.mgx", "Islands"), folderEntry("dir"),
          fileEntry("p2.mgx", "arabia"), fileEntry("u2.mgx")});
  const std::vector<std::string> up = sortedNames(kColumnMap, true);
  ASSERT_EQ(up.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(up.begin(), up.begin() + 3),
            (std::vector<std::string>{"dir", "p2.mgx", "p1.mgx"}));
  const std::vector<std::string> down = sortedNames(kColumnMap, false);
  EXPECT_EQ(std::vector<std::string>(down.begin() + 2, down.end()),
            (std::vector<std::string>{"p1.mgx", "p2.mgx", "dir"}));
  std::vector<std::string> unparsed(up.begin() + 3, up.end());
  std::sort(unparsed.begin(), unparsed.end());
  EXPECT_EQ(unparsed, (std::vector<std::string>{"u1.mgx", "u2.mgx"}));
  // Two games not yet parsed have equal Map keys.
  EXPECT_EQ(ascending(0, 4, kColumnMap), 0);
}

TEST_F(SortingTest, EmptyKeysLastWithinEachGroup) {
  GameEntry withPov = fileEntry("b.mgx");
  withPov.povName = "Someone";
  addAll({fileEntry("a.mgx"), withPov});
  EXPECT_EQ(ascending(0, 1, kColumnPov), 1);
  EXPECT_EQ(ascending(1, 0, kColumnPov), -1);
  EXPECT_EQ(descending(0, 1, kColumnPov), -1);
}

TEST_F(SortingTest, ModifiedComparesToTheMinute) {
  GameEntry early = fileEntry("a.mgx");
  early.modified.year = 2005;
  early.modified.month = 3;
  early.modified.day = 1;
  early.modified.hour = 7;
  early.modified.second = 1;
  GameEntry sameMinute = early;
  sameMinute.fileName = "b.mgx";
  sameMinute.modified.second = 59;
  GameEntry later = early;
  later.fileName = "c.mgx";
  later.modified.hour = 10;
  addAll({early, sameMinute, later});
  EXPECT_EQ(ascending(0, 1, kColumnModified), 0);
  // " 7:00" against "10:00": the text order is the time order here.
  EXPECT_EQ(ascending(0, 2, kColumnModified), -1);
  EXPECT_EQ(descending(0, 2, kColumnModified), 1);
}

TEST_F(SortingTest, CollationErrorFallsBackToByteOrder) {
  // A lead byte at the end of a name: the ICU build cannot collate it.
  addAll({fileEntry("b\x81"), fileEntry("a")});
  EXPECT_EQ(ascending(0, 1, kColumnName), 1);
  EXPECT_EQ(ascending(1, 0, kColumnName), -1);
  // The sort's precomputed keys keep the fallback for the refused text.
  EXPECT_EQ(sortedNames(kColumnName, true), (std::vector<std::string>{"a", "b\x81"}));
  EXPECT_EQ(sortedNames(kColumnName, false), (std::vector<std::string>{"b\x81", "a"}));
}

}  // namespace
}  // namespace morvane::fixtures
