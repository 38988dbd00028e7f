// An owned run of bytes for reads and inflates that overwrite it at once:
// unlike a std::vector, sizing it does not zero-fill them first.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/reserved_memory.h"

namespace morvane {

// How a ByteBuffer gives its bytes back.
struct ByteBufferRelease {
  std::size_t reserved = 0;  // 0: the bytes came from new[]
  void operator()(uint8_t* bytes) const {
    if (reserved != 0) {
      platform::releaseAddressSpace(bytes, reserved);
    } else {
      delete[] bytes;
    }
  }
};

class ByteBuffer {
 public:
  using value_type = uint8_t;
  using const_iterator = const uint8_t*;
  using iterator = const uint8_t*;

  ByteBuffer() = default;
  explicit ByteBuffer(std::size_t size) { resizeForOverwrite(size); }

  // size bytes whose content is left for the caller to write; what was held
  // before is dropped.
  void resizeForOverwrite(std::size_t size) {
    bytes_ = Bytes(size == 0 ? nullptr : new uint8_t[size], ByteBufferRelease{});
    size_ = size;
  }
  // Takes over the first size bytes of a reservation of reserved bytes
  // (platform/reserved_memory.h), given back when the buffer lets go of them.
  void adoptReserved(uint8_t* base, std::size_t size, std::size_t reserved) {
    bytes_ = Bytes(base, ByteBufferRelease{reserved});
    size_ = size;
  }
  void assign(const uint8_t* first, const uint8_t* last) {
    resizeForOverwrite(static_cast<std::size_t>(last - first));
    std::copy(first, last, bytes_.get());
  }

  // Keeps the last count bytes, moved to the front, in the bytes already
  // held: a tail kept without a second buffer.
  void keepTail(std::size_t count) {
    count = std::min(count, size_);
    if (count != 0) std::memmove(bytes_.get(), bytes_.get() + (size_ - count), count);
    size_ = count;
  }

  uint8_t* data() { return bytes_.get(); }
  const uint8_t* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const uint8_t* begin() const { return bytes_.get(); }
  const uint8_t* end() const { return bytes_.get() + size_; }

  friend bool operator==(const ByteBuffer& buffer, const std::vector<uint8_t>& bytes) {
    return std::equal(buffer.begin(), buffer.end(), bytes.begin(), bytes.end());
  }
  friend bool operator!=(const ByteBuffer& buffer, const std::vector<uint8_t>& bytes) {
    return !(buffer == bytes);
  }

 private:
  using Bytes = std::unique_ptr<uint8_t[], ByteBufferRelease>;
  Bytes bytes_;
  std::size_t size_ = 0;
};

}  // namespace morvane
