// The records of the listed folder, one per list row, held by value. A
// record's index is the identity of its row until the next scan.
#pragma once

#include <cstddef>
#include <cstdint>

#include "recording/game_entry.h"

namespace morvane {

// Room is added one segment per growth and segments never move, so growing
// costs only the new room: no record is moved, and the old room is not held
// twice while the new one is made. A record keeps its address until it is
// destroyed.
class GameEntryArray {
 public:
  // Where the store's memory comes from; a test hands in one that refuses.
  class Allocator {
   public:
    virtual ~Allocator() = default;
    // bytes aligned for any object, or null when refused.
    virtual void* allocate(std::size_t bytes) = 0;
    virtual void release(void* block) = 0;
  };

  GameEntryArray();  // memory from the heap
  explicit GameEntryArray(Allocator& allocator);
  ~GameEntryArray();
  GameEntryArray(const GameEntryArray&) = delete;
  GameEntryArray& operator=(const GameEntryArray&) = delete;

  int32_t getSize() const { return count; }
  // Records of room: 1, 5, 9, ... as appending grows it (see grownCapacity).
  int32_t capacity() const { return capacity_; }

  // Indices must be in 0 .. getSize() - 1; they are not checked.
  GameEntry getAt(int32_t index) const { return *slots[index]; }
  const GameEntry& at(int32_t index) const { return *slots[index]; }
  GameEntry& at(int32_t index) { return *slots[index]; }
  void setAt(int32_t index, const GameEntry& record) { *slots[index] = record; }

  // Index of the appended record, or -1 when the store could not grow (it is
  // then unchanged).
  int32_t add(const GameEntry& record);

  // Sets the number of live records; 0 releases all room. False when more
  // room could not be allocated; the store is then unchanged.
  bool setSize(int32_t n);

 private:
  bool grow(int32_t n);
  void release();

  Allocator* allocator;
  void* lastSegment = nullptr;  // segments link back to the first
  GameEntry** slots = nullptr;  // the room of record i is *slots[i]
  int32_t slotRoom = 0;         // pointers slots has room for, >= capacity_
  int32_t count = 0;
  int32_t capacity_ = 0;
};

}  // namespace morvane
