// An owned run of bytes for reads and inflates that overwrite it at once:
// unlike a std::vector, sizing it does not zero-fill them first.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace morvane {

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
    bytes_.reset(size == 0 ? nullptr : new uint8_t[size]);
    size_ = size;
  }
  void assign(const uint8_t* first, const uint8_t* last) {
    resizeForOverwrite(static_cast<std::size_t>(last - first));
    std::copy(first, last, bytes_.get());
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
  std::unique_ptr<uint8_t[]> bytes_;
  std::size_t size_ = 0;
};

}  // namespace morvane
