#include "library/game_entry_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace morvane {
namespace {

// Heap blocks until told to refuse; counts what it was asked for.
class CountingAllocator : public GameEntryArray::Allocator {
 public:
  void* allocate(std::size_t bytes) override {
    if (grantsLeft == 0) return nullptr;
    if (grantsLeft > 0) --grantsLeft;
    totalBytes += bytes;
    largestBytes = std::max(largestBytes, bytes);
    ++liveBlocks;
    return ::operator new(bytes);
  }
  void release(void* block) override {
    --liveBlocks;
    ::operator delete(block);
  }

  int grantsLeft = -1;  // -1: no limit
  int liveBlocks = 0;
  std::size_t totalBytes = 0;
  std::size_t largestBytes = 0;
};

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

TEST(GameEntryArrayGrowthTest, GrowthLeavesEveryRecordWhereItIs) {
  GameEntryArray store;
  GameEntry entry = named(std::string(100, 'x'));
  entry.mapTiles.set(5, 7);
  ASSERT_EQ(store.add(entry), 0);
  const GameEntry* first = &store.at(0);
  const char* name = store.at(0).fileName.data();
  for (int i = 1; i < 50; ++i) ASSERT_GE(store.add(named("g")), 0);
  const GameEntry* middle = &store.at(45);
  for (int i = 50; i < 3000; ++i) ASSERT_GE(store.add(named("g")), 0);
  ASSERT_GT(store.capacity(), 1000);
  EXPECT_EQ(&store.at(0), first);
  EXPECT_EQ(&store.at(45), middle);
  EXPECT_EQ(store.at(0).fileName.data(), name);
  EXPECT_EQ(store.at(0).mapTiles[5], 7);
}

TEST(GameEntryArrayGrowthTest, GrowingAllocatesOnlyTheNewRoom) {
  CountingAllocator allocator;
  GameEntryArray store(allocator);
  for (int i = 0; i < 20000; ++i) ASSERT_EQ(store.add(named("g")), i);
  // Moving into a whole new block per growth would ask for about twelve
  // times the final room here, and hold old and new room at once.
  const std::size_t room = static_cast<std::size_t>(store.capacity()) * sizeof(GameEntry);
  const std::size_t pointers = static_cast<std::size_t>(store.capacity()) * sizeof(void*);
  EXPECT_LE(allocator.totalBytes, room + 4 * pointers + 64 * 1024);
  EXPECT_LE(allocator.largestBytes, std::max(1025 * sizeof(GameEntry), 4 * pointers));
  ASSERT_TRUE(store.setSize(0));
  EXPECT_EQ(allocator.liveBlocks, 0);
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

TEST(GameEntryArrayGrowthTest, RefusedAllocationLeavesTheStoreAsItWas) {
  struct Case {
    int32_t size;  // what is asked of the full store of 9 records
    int grants;    // allocations granted before the refusal
  };
  // Growing from 9 needs a segment and a larger table of record pointers.
  for (const Case& c : {Case{10, 0}, Case{10, 1}, Case{1000, 0}, Case{1000, 1}}) {
    CountingAllocator allocator;
    GameEntryArray store(allocator);
    for (int i = 0; i < 9; ++i) ASSERT_GE(store.add(named("g" + std::to_string(i))), 0);
    ASSERT_EQ(store.capacity(), 9);
    const int liveBlocks = allocator.liveBlocks;
    allocator.grantsLeft = c.grants;
    const std::string label = std::to_string(c.size) + " after " + std::to_string(c.grants);
    if (c.size == 10) {
      EXPECT_EQ(store.add(named("g9")), -1) << label;
    } else {
      EXPECT_FALSE(store.setSize(c.size)) << label;
    }
    EXPECT_EQ(store.getSize(), 9) << label;
    EXPECT_EQ(store.capacity(), 9) << label;
    EXPECT_EQ(store.at(8).fileName, "g8") << label;
    EXPECT_EQ(allocator.liveBlocks, liveBlocks) << label;
    allocator.grantsLeft = -1;
    EXPECT_EQ(store.add(named("g9")), 9) << label;
    EXPECT_EQ(store.at(9).fileName, "g9") << label;
  }
  GameEntryArray store;
  EXPECT_FALSE(store.setSize(-1));
  EXPECT_EQ(store.capacity(), 0);
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
