#include "library/game_entry_array.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <utility>

namespace morvane {
namespace {

GameEntry* allocateBlock(int32_t capacity) {
  const auto records = static_cast<std::size_t>(capacity);
  if (records > std::numeric_limits<std::size_t>::max() / sizeof(GameEntry)) return nullptr;
  return static_cast<GameEntry*>(::operator new(records * sizeof(GameEntry), std::nothrow));
}

void releaseBlock(GameEntry* block) { ::operator delete(block); }

// Growth beyond a full block: an eighth of the count, kept within 4..1024.
int32_t grownCapacity(int32_t count, int32_t capacity, int32_t wanted) {
  const int32_t step = std::clamp(count / 8, int32_t{4}, int32_t{1024});
  const int64_t grown = int64_t{capacity} + step;
  return static_cast<int32_t>(std::max<int64_t>(grown, wanted));
}

}  // namespace

GameEntryArray::~GameEntryArray() { release(); }

void GameEntryArray::release() {
  for (int32_t i = 0; i < count; ++i) entries[i].~GameEntry();
  releaseBlock(entries);
  entries = nullptr;
  count = 0;
  capacity_ = 0;
}

bool GameEntryArray::setSize(int32_t n) {
  if (n < 0) return false;
  if (n == 0) {
    release();
    return true;
  }
  if (entries == nullptr) {
    GameEntry* block = allocateBlock(n);
    if (block == nullptr) return false;
    for (int32_t i = 0; i < n; ++i) new (block + i) GameEntry();
    entries = block;
    count = n;
    capacity_ = n;
    return true;
  }
  if (n <= capacity_) {
    for (int32_t i = count; i < n; ++i) new (entries + i) GameEntry();
    for (int32_t i = n; i < count; ++i) entries[i].~GameEntry();
    count = n;
    return true;
  }
  const int32_t newCapacity = grownCapacity(count, capacity_, n);
  // The new block comes first so that a failure leaves the store untouched.
  GameEntry* block = allocateBlock(newCapacity);
  if (block == nullptr) return false;
  for (int32_t i = 0; i < count; ++i) {
    new (block + i) GameEntry(std::move(entries[i]));
    entries[i].~GameEntry();
  }
  for (int32_t i = count; i < n; ++i) new (block + i) GameEntry();
  releaseBlock(entries);
  entries = block;
  count = n;
  capacity_ = newCapacity;
  return true;
}

int32_t GameEntryArray::add(const GameEntry& record) {
  const int32_t index = count;
  if (index == std::numeric_limits<int32_t>::max() || !setSize(index + 1)) return -1;
  entries[index] = record;
  return index;
}

}  // namespace morvane
