#include "library/game_entry_array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace morvane {
namespace {

GameEntry named(const std::string& name) {
  GameEntry entry;
  entry.fileName = name;
  return entry;
}

TEST(GameEntryArrayGrowthTest, FreshStoreIsEmptyAndUnallocated) {
  GameEntryArray store;
  EXPECT_EQ(store.getSize(), 0);
  EXPECT_EQ(store.capacity(), 0);
  EXPECT_TRUE(store.setSize(0));
  EXPECT_EQ(store.capacity(), 0);
}

TEST(GameEntryArrayGrowthTest, AppendingGivesTheCapacitySequence) {
  GameEntryArray store;
  std::vector<int32_t> capacities;
  for (int i = 0; i < 60; ++i) {
    ASSERT_EQ(store.add(named("g" + std::to_string(i))), i);
    if (capacities.empty() || capacities.back() != store.capacity()) {
      capacities.push_back(store.capacity());
    }
  }
  const std::vector<int32_t> expected = {1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51, 57, 64};
  EXPECT_EQ(capacities, expected);
}

TEST(GameEntryArrayGrowthTest, StepIsAnEighthOfTheCountClampedTo4And1024) {
  struct Case {
    int32_t full;
    int32_t grown;
  };
  for (const Case& c :
       {Case{39, 43}, Case{41, 46}, Case{8191, 9214}, Case{8192, 9216}, Case{10000, 11024}}) {
    GameEntryArray store;
    ASSERT_TRUE(store.setSize(c.full));
    ASSERT_EQ(store.capacity(), c.full);
    ASSERT_EQ(store.add(named("next")), c.full);
    EXPECT_EQ(store.capacity(), c.grown) << "full store of " << c.full;
    EXPECT_EQ(store.getSize(), c.full + 1);
  }
}

TEST(GameEntryArrayGrowthTest, LargeJumpTakesTheRequestedSize) {
  GameEntryArray store;
  ASSERT_TRUE(store.setSize(2));
  ASSERT_TRUE(store.setSize(100));
  EXPECT_EQ(store.capacity(), 100);
  EXPECT_EQ(store.getSize(), 100);
  EXPECT_TRUE(store.at(99).fileName.empty());
}

TEST(GameEntryArrayGrowthTest, GrowthMovesRecordsWithoutCopying) {
  GameEntryArray store;
  GameEntry entry = named(std::string(100, 'x'));
  entry.mapTiles.set(5, 7);
  ASSERT_EQ(store.add(entry), 0);
  const uint8_t* tiles = store.at(0).mapTiles.data();
  const char* name = store.at(0).fileName.data();
  ASSERT_NE(tiles, nullptr);
  for (int i = 1; i < 50; ++i) ASSERT_GE(store.add(named("g")), 0);
  ASSERT_GT(store.capacity(), 1);
  // The same buffers changed owner; a copy would have new ones.
  EXPECT_EQ(store.at(0).mapTiles.data(), tiles);
  EXPECT_EQ(store.at(0).fileName.data(), name);
  EXPECT_EQ(store.at(0).mapTiles[5], 7);
}

TEST(GameEntryArrayGrowthTest, ShrinkingKeepsTheCapacityAndTheFirstRecords) {
  GameEntryArray store;
  for (int i = 0; i < 10; ++i) ASSERT_GE(store.add(named("g" + std::to_string(i))), 0);
  const int32_t capacity = store.capacity();
  ASSERT_TRUE(store.setSize(3));
  EXPECT_EQ(store.getSize(), 3);
  EXPECT_EQ(store.capacity(), capacity);
  EXPECT_EQ(store.at(2).fileName, "g2");
  // Regrowing within the block gives default records, not the old ones.
  ASSERT_TRUE(store.setSize(5));
  EXPECT_TRUE(store.at(4).fileName.empty());
  EXPECT_EQ(store.capacity(), capacity);
}

TEST(GameEntryArrayGrowthTest, SizeZeroReleasesTheBlock) {
  GameEntryArray store;
  for (int i = 0; i < 7; ++i) ASSERT_GE(store.add(named("g")), 0);
  ASSERT_TRUE(store.setSize(0));
  EXPECT_EQ(store.getSize(), 0);
  EXPECT_EQ(store.capacity(), 0);
  EXPECT_EQ(store.add(named("again")), 0);
  EXPECT_EQ(store.capacity(), 1);
}

TEST(GameEntryArrayGrowthTest, FailedAllocationLeavesTheStoreAsItWas) {
  GameEntryArray store;
  for (int i = 0; i < 5; ++i) ASSERT_GE(store.add(named("g" + std::to_string(i))), 0);
  EXPECT_FALSE(store.setSize(std::numeric_limits<int32_t>::max()));
  EXPECT_EQ(store.getSize(), 5);
  EXPECT_EQ(store.capacity(), 5);
  EXPECT_EQ(store.at(4).fileName, "g4");
  EXPECT_FALSE(store.setSize(-1));
  EXPECT_EQ(store.getSize(), 5);
  EXPECT_EQ(store.add(named("g5")), 5);
}

TEST(GameEntryArrayAccessTest, GetAtGivesAnIndependentCopy) {
  GameEntryArray store;
  ASSERT_EQ(store.add(named("a.mgx")), 0);
  GameEntry copy = store.getAt(0);
  copy.fileName = "changed";
  copy.mapTiles.set(0, 1);
  EXPECT_EQ(store.at(0).fileName, "a.mgx");
  EXPECT_FALSE(store.at(0).mapTiles.allocated());
}

TEST(GameEntryArrayAccessTest, SetAtReplacesOnlyItsRecord) {
  GameEntryArray store;
  for (const char* name : {"a.mgx", "b.mgx", "c.mgx"}) ASSERT_GE(store.add(named(name)), 0);
  GameEntry entry = store.getAt(1);
  entry.mapName = "Arabia";
  entry.povIndex = 2;
  store.setAt(1, entry);
  EXPECT_EQ(store.getAt(1).mapName, "Arabia");
  EXPECT_EQ(store.getAt(1).povIndex, 2);
  EXPECT_EQ(store.getAt(0).fileName, "a.mgx");
  EXPECT_TRUE(store.getAt(0).mapName.empty());
  EXPECT_EQ(store.getAt(2).fileName, "c.mgx");
  EXPECT_TRUE(store.getAt(2).mapName.empty());
}

}  // namespace
}  // namespace morvane
