#include "library/sort_toggle.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

class SortToggleTest : public ::testing::Test {
 protected:
  void SetUp() override { resetSortToggle(); }
  void TearDown() override { resetSortToggle(); }
  // The directions of a run of header clicks, 'A' or 'D' each.
  std::string clicks(std::initializer_list<int32_t> columns) {
    std::string directions;
    for (int32_t column : columns) {
      const SortDirection direction = toggleSort(column);
      EXPECT_EQ(direction.column, column);
      directions += direction.ascending ? 'A' : 'D';
    }
    return directions;
  }
};

TEST_F(SortToggleTest, FirstClickOnNameSortsDescending) { EXPECT_EQ(clicks({0}), "D"); }

TEST_F(SortToggleTest, FirstClickOnAnotherColumnSortsAscending) {
  EXPECT_EQ(clicks({1}), "A");
  resetSortToggle();
  EXPECT_EQ(clicks({3}), "A");
}

TEST_F(SortToggleTest, RepeatedClicksAlternate) { EXPECT_EQ(clicks({2, 2, 2, 2}), "ADAD"); }

TEST_F(SortToggleTest, ChangingColumnSortsAscending) {
  EXPECT_EQ(clicks({2, 0}), "AA");
  EXPECT_EQ(clicks({0}), "D");
}

TEST_F(SortToggleTest, AfterADescendingClickTheSameColumnSortsAscendingTwice) {
  // Name descending, then a rescan shows Name ascending without touching the
  // toggle: the next click sorts ascending (no visible change), the one after
  // descending.
  EXPECT_EQ(clicks({0}), "D");
  EXPECT_EQ(clicks({0, 0}), "AD");
}

TEST_F(SortToggleTest, DescendingThenOtherColumnThenBack) {
  EXPECT_EQ(clicks({1, 1, 3, 1}), "ADAA");
}

}  // namespace
}  // namespace morvane
