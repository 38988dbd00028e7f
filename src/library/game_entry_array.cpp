#include "library/game_entry_array.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace morvane {

namespace {

// A segment starts with a link to the one allocated before it; its room for
// records follows.
struct SegmentLink {
  void* previous;
};

class HeapAllocator final : public GameEntryArray::Allocator {
 public:
  void* allocate(std::size_t bytes) override { return ::operator new(bytes, std::nothrow); }
  void release(void* block) override { ::operator delete(block); }
};

HeapAllocator& heap() {
  static HeapAllocator allocator;  // stateless
  return allocator;
}

constexpr std::size_t kMaxBytes = std::numeric_limits<std::size_t>::max();

// Where a segment's records start: past its link, aligned for a record.
constexpr std::size_t kRecordsOffset =
    (sizeof(SegmentLink) + alignof(GameEntry) - 1) / alignof(GameEntry) * alignof(GameEntry);

GameEntry* recordsOf(void* segment) {
  return reinterpret_cast<GameEntry*>(static_cast<char*>(segment) + kRecordsOffset);
}

// Bytes of a segment with room for records, or 0 when that does not fit in
// memory's address range.
std::size_t segmentBytes(int32_t records) {
  const auto room = static_cast<std::size_t>(records);
  if (room > (kMaxBytes - kRecordsOffset) / sizeof(GameEntry)) return 0;
  return kRecordsOffset + room * sizeof(GameEntry);
}

// Growth beyond full room: an eighth of the count, kept within 4..1024.
int32_t grownCapacity(int32_t count, int32_t capacity, int32_t wanted) {
  const int32_t step = std::clamp(count / 8, int32_t{4}, int32_t{1024});
  const int64_t grown = int64_t{capacity} + step;
  return static_cast<int32_t>(std::clamp<int64_t>(grown, wanted, INT32_MAX));
}

// The record pointers double, so keeping them costs each pointer a bounded
// number of copies however the room grows.
int32_t grownSlotRoom(int32_t slotRoom, int32_t capacity) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{slotRoom} * 2, capacity, INT32_MAX));
}

}  // namespace

GameEntryArray::GameEntryArray() : allocator(&heap()) {}

GameEntryArray::GameEntryArray(Allocator& source) : allocator(&source) {}

GameEntryArray::~GameEntryArray() { release(); }

void GameEntryArray::release() {
  for (int32_t i = 0; i < count; ++i) slots[i]->~GameEntry();
  while (lastSegment != nullptr) {
    void* previous = static_cast<SegmentLink*>(lastSegment)->previous;
    allocator->release(lastSegment);
    lastSegment = previous;
  }
  if (slots != nullptr) allocator->release(slots);
  slots = nullptr;
  slotRoom = 0;
  count = 0;
  capacity_ = 0;
}

bool GameEntryArray::setSize(int32_t n) {
  if (n < 0) return false;
  if (n == 0) {
    release();
    return true;
  }
  if (n > capacity_ && !grow(n)) return false;
  for (int32_t i = count; i < n; ++i) new (slots[i]) GameEntry();
  for (int32_t i = n; i < count; ++i) slots[i]->~GameEntry();
  count = n;
  return true;
}

// Adds one segment, so that there is room for n records or more (exactly n in
// a store without room), and keeps every record where it is. Both blocks are allocated before
// anything changes, so a refusal leaves the store as it was.
bool GameEntryArray::grow(int32_t n) {
  const int32_t newCapacity = capacity_ == 0 ? n : grownCapacity(count, capacity_, n);
  const std::size_t bytes = segmentBytes(newCapacity - capacity_);
  if (bytes == 0) return false;
  void* segment = allocator->allocate(bytes);
  if (segment == nullptr) return false;
  if (newCapacity > slotRoom) {
    const int32_t newSlotRoom = grownSlotRoom(slotRoom, newCapacity);
    const auto slotCount = static_cast<std::size_t>(newSlotRoom);
    void* table = slotCount > kMaxBytes / sizeof(GameEntry*)
                      ? nullptr
                      : allocator->allocate(slotCount * sizeof(GameEntry*));
    if (table == nullptr) {
      allocator->release(segment);
      return false;
    }
    if (capacity_ > 0)
      std::memcpy(table, slots, static_cast<std::size_t>(capacity_) * sizeof *slots);
    if (slots != nullptr) allocator->release(slots);
    slots = static_cast<GameEntry**>(table);
    slotRoom = newSlotRoom;
  }
  new (segment) SegmentLink{lastSegment};
  lastSegment = segment;
  GameEntry* records = recordsOf(segment);
  for (int32_t i = capacity_; i < newCapacity; ++i) slots[i] = records + (i - capacity_);
  capacity_ = newCapacity;
  return true;
}

int32_t GameEntryArray::add(const GameEntry& record) {
  const int32_t index = count;
  if (index == std::numeric_limits<int32_t>::max() || !setSize(index + 1)) return -1;
  *slots[index] = record;
  return index;
}

}  // namespace morvane
