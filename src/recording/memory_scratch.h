// The in-memory stand-in for the temporary file an inflated header passes
// through, for folders that cannot or must not be written.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/reserved_memory.h"
#include "recording/byte_buffer.h"

namespace morvane {

// The header's final length is known only at the stream's end. Inflated into
// address space reserved for the longest header and committed as it fills,
// it is handed over whole, never joined into a second copy; where no such
// space is free, the chunks are kept as they come and joined once.
class MemoryScratch {
 public:
  explicit MemoryScratch(std::size_t capacity)
      : capacity_(capacity),
        base_(static_cast<uint8_t*>(platform::reserveAddressSpace(capacity))) {}
  ~MemoryScratch() { platform::releaseAddressSpace(base_, capacity_); }
  MemoryScratch(const MemoryScratch&) = delete;
  MemoryScratch& operator=(const MemoryScratch&) = delete;

  bool append(const uint8_t* bytes, std::size_t count) {
    if (count == 0) return true;
    if (base_ == nullptr) {
      chunks_.emplace_back();
      chunks_.back().assign(bytes, bytes + count);
      return true;
    }
    if (count > capacity_ - size_) return false;
    // Committed a step at a time from where the last commit ended.
    while (size_ + count > committed_) {
      const std::size_t step = std::min(kCommitStep, capacity_ - committed_);
      if (!platform::commitAddressSpace(base_ + committed_, step)) return false;
      committed_ += step;
    }
    std::memcpy(base_ + size_, bytes, count);
    size_ += count;
    return true;
  }

  // The first count bytes into out; false when fewer were appended.
  bool readBack(ByteBuffer& out, std::size_t count) {
    if (base_ != nullptr) {
      if (count > size_) return false;
      out.adoptReserved(base_, count, capacity_);
      base_ = nullptr;
      return true;
    }
    out.resizeForOverwrite(count);
    std::size_t done = 0;
    for (const ByteBuffer& chunk : chunks_) {
      if (done == count) break;
      const std::size_t take = std::min(chunk.size(), count - done);
      std::copy(chunk.begin(), chunk.begin() + take, out.data() + done);
      done += take;
    }
    return done == count;
  }

 private:
  static constexpr std::size_t kCommitStep = std::size_t{1} << 20;  // whole pages
  std::size_t capacity_;
  uint8_t* base_;
  std::size_t size_ = 0;
  std::size_t committed_ = 0;
  std::vector<ByteBuffer> chunks_;  // where no address space was reserved
};

}  // namespace morvane
