// The in-memory stand-in for the temporary file an inflated header passes
// through, for folders that cannot or must not be written.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "recording/byte_buffer.h"

namespace morvane {

class MemoryScratch {
 public:
  // Keeps the chunks as they come and joins them once, in readBack.
  bool append(const uint8_t* bytes, std::size_t count) {
    if (count == 0) return true;
    chunks_.emplace_back();
    chunks_.back().assign(bytes, bytes + count);
    return true;
  }

  // Joins the first count bytes into out; false when fewer were appended.
  bool readBack(ByteBuffer& out, std::size_t count) {
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
  std::vector<ByteBuffer> chunks_;
};

}  // namespace morvane
