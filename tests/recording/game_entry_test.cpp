// GameEntry as a value: defaults, independent copies, lazily allocated terrain.
#include "recording/game_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace morvane {
namespace {

GameEntry filledEntry() {
  GameEntry e;
  e.fileName = "game.mgx";
  e.attributes = 0x20;
  e.modified.year = 2024;
  e.modified.minute = 59;
  e.iconIndex = 3;
  e.mapName = "Arabia";
  e.mapWidth = 120;
  e.mapHeight = 100;
  e.mapTiles.fill(65);
  e.mapTiles.set(7, 12);
  e.povIndex = 2;
  e.playerCount = 2;
  e.playerNumbers[1] = 1;
  e.playerNumbers[2] = 2;
  std::strcpy(e.slots[1].name, "Alice");
  e.slots[1].civId = 4;
  e.slots[2].colourId = 6;
  e.teamLabels[1] = "-";
  e.playerNames[1] = "Alice";
  e.povName = "Bob";
  e.lobbyChat = "gl\r\n";
  e.gameChat = "gg\r\n";
  return e;
}

void expectSameEntry(const GameEntry& a, const GameEntry& b) {
  EXPECT_EQ(a.fileName, b.fileName);
  EXPECT_EQ(a.attributes, b.attributes);
  EXPECT_EQ(a.modified.year, b.modified.year);
  EXPECT_EQ(a.modified.minute, b.modified.minute);
  EXPECT_EQ(a.iconIndex, b.iconIndex);
  EXPECT_EQ(a.mapName, b.mapName);
  EXPECT_EQ(a.mapWidth, b.mapWidth);
  EXPECT_EQ(a.mapHeight, b.mapHeight);
  for (std::size_t i = 0; i < TerrainTiles::kSize; i += 997)
    EXPECT_EQ(a.mapTiles[i], b.mapTiles[i]);
  EXPECT_EQ(a.mapTiles[7], b.mapTiles[7]);
  EXPECT_EQ(a.povIndex, b.povIndex);
  EXPECT_EQ(a.playerCount, b.playerCount);
  EXPECT_EQ(a.playerNumbers, b.playerNumbers);
  for (int k = 0; k < GameEntry::kPositions; ++k) {
    EXPECT_EQ(std::memcmp(a.slots[k].name, b.slots[k].name, sizeof a.slots[k].name), 0) << k;
    EXPECT_EQ(a.slots[k].civId, b.slots[k].civId) << k;
    EXPECT_EQ(a.slots[k].colourId, b.slots[k].colourId) << k;
  }
  EXPECT_EQ(a.teamLabels, b.teamLabels);
  EXPECT_EQ(a.playerNames, b.playerNames);
  EXPECT_EQ(a.povName, b.povName);
  EXPECT_EQ(a.lobbyChat, b.lobbyChat);
  EXPECT_EQ(a.gameChat, b.gameChat);
}

TEST(GameEntryTest, TerrainIsAllocatedOnTheFirstWriteAndReadsZeroBefore) {
  GameEntry e;
  EXPECT_FALSE(e.mapTiles.allocated());
  EXPECT_EQ(e.mapTiles.data(), nullptr);
  EXPECT_EQ(e.mapTiles[0], 0);
  EXPECT_EQ(e.mapTiles[TerrainTiles::kSize - 1], 0);
  e.mapTiles.set(TerrainTiles::kSize - 1, 9);
  ASSERT_TRUE(e.mapTiles.allocated());
  EXPECT_EQ(e.mapTiles[TerrainTiles::kSize - 1], 9);
  EXPECT_EQ(e.mapTiles[0], 0) << "the new block starts zeroed";
  EXPECT_EQ(e.mapTiles.data()[TerrainTiles::kSize - 1], 9);
}

TEST(GameEntryTest, SlotsReadZeroUntilWrittenAndCopyDeeply) {
  const GameEntry unparsed;
  EXPECT_FALSE(unparsed.slots.allocated());
  for (const PlayerSlot& slot : unparsed.slots) {
    EXPECT_EQ(slot.name[0], '\0');
    EXPECT_EQ(slot.name[255], '\0');
    EXPECT_EQ(slot.civId, 0);
    EXPECT_EQ(slot.colourId, 0);
  }
  EXPECT_FALSE(unparsed.slots.allocated()) << "reading holds nothing";

  GameEntry e;
  e.slots[8].colourId = 3;
  ASSERT_TRUE(e.slots.allocated());
  EXPECT_EQ(e.slots[8].colourId, 3);
  EXPECT_EQ(e.slots[1].colourId, 0) << "the new blocks start zeroed";

  GameEntry copy = e;
  copy.slots[8].colourId = 4;
  EXPECT_EQ(e.slots[8].colourId, 3);
  copy = unparsed;
  EXPECT_FALSE(copy.slots.allocated());
  EXPECT_EQ(copy.slots[8].colourId, 0);
}

TEST(GameEntryTest, CopyIsCompleteAndIndependent) {
  const GameEntry source = filledEntry();
  GameEntry copy = source;
  expectSameEntry(copy, source);
  copy.mapName[0] = 'X';
  copy.playerNames[1] += "!";
  copy.slots[1].name[0] = 'Z';
  copy.mapTiles.set(7, 1);
  copy.lobbyChat.clear();
  EXPECT_EQ(source.mapName, "Arabia");
  EXPECT_EQ(source.playerNames[1], "Alice");
  EXPECT_STREQ(source.slots[1].name, "Alice");
  EXPECT_EQ(source.mapTiles[7], 12);
  EXPECT_EQ(source.lobbyChat, "gl\r\n");
  EXPECT_NE(copy.mapTiles.data(), source.mapTiles.data());
}

TEST(GameEntryTest, AssignmentReplacesEverything) {
  const GameEntry source = filledEntry();
  GameEntry target;
  target.teamLabels[5] = "stale";
  target.mapTiles.set(0, 77);
  target = source;
  expectSameEntry(target, source);
  EXPECT_EQ(target.mapTiles[0], 65);
  target.mapTiles.set(0, 1);
  EXPECT_EQ(source.mapTiles[0], 65);

  // Assigning an unparsed entry drops the terrain as well.
  target = GameEntry{};
  EXPECT_FALSE(target.mapTiles.allocated());
  EXPECT_EQ(target.mapTiles[7], 0);
}

TEST(GameEntryTest, SelfAssignmentLeavesTheEntryUnchanged) {
  GameEntry e = filledEntry();
  const GameEntry before = e;
  GameEntry& alias = e;
  e = alias;
  expectSameEntry(e, before);
  ASSERT_TRUE(e.mapTiles.allocated());
}

TEST(GameEntryTest, MovedEntryKeepsItsTerrain) {
  GameEntry source = filledEntry();
  const uint8_t* block = source.mapTiles.data();
  GameEntry moved = std::move(source);
  EXPECT_EQ(moved.mapTiles.data(), block);
  EXPECT_EQ(moved.mapTiles[7], 12);
}

}  // namespace
}  // namespace morvane
