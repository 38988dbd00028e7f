// The records of the listed folder, one per list row, held by value. A
// record's index is the identity of its row until the next scan.
#pragma once

#include <cstdint>

#include "recording/game_entry.h"

namespace morvane {

class GameEntryArray {
 public:
  GameEntryArray() = default;
  ~GameEntryArray();
  GameEntryArray(const GameEntryArray&) = delete;
  GameEntryArray& operator=(const GameEntryArray&) = delete;

  int32_t getSize() const { return count; }
  int32_t capacity() const { return capacity_; }

  // Indices must be in 0 .. getSize() - 1; they are not checked.
  GameEntry getAt(int32_t index) const { return entries[index]; }
  const GameEntry& at(int32_t index) const { return entries[index]; }
  void setAt(int32_t index, const GameEntry& record) { entries[index] = record; }

  // Index of the appended record, or -1 when the block could not grow (the
  // store is then unchanged).
  int32_t add(const GameEntry& record);

  // Sets the number of live records; 0 releases the block. False when a
  // larger block could not be allocated; the store is then unchanged.
  bool setSize(int32_t n);

 private:
  void release();

  GameEntry* entries = nullptr;
  int32_t count = 0;
  int32_t capacity_ = 0;
};

}  // namespace morvane
