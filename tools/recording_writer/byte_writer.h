// Little-endian byte assembly for building recorded-game fixtures.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace morvane::fixtures {

class ByteWriter {
 public:
  int64_t size() const { return static_cast<int64_t>(bytes_.size()); }
  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t> take() { return std::move(bytes_); }

  // Each append returns the offset it wrote at.
  int64_t u8(uint8_t value);
  int64_t i16(int16_t value);
  int64_t i32(int32_t value);
  int64_t u32(uint32_t value);
  int64_t f32(float value);  // an IEEE single
  int64_t text(std::string_view bytes);
  int64_t raw(const std::vector<uint8_t>& bytes);
  int64_t fill(int64_t count, uint8_t value);
  int64_t zeros(int64_t count) { return fill(count, 0); }

  // Appends fill bytes up to offset; aborts when already past it, since a
  // fixture that cannot put a field where the test wants it is a test bug.
  void padTo(int64_t offset, uint8_t value = 0);

  // Overwrite bytes already written.
  void setU8(int64_t offset, uint8_t value);
  void setI16(int64_t offset, int16_t value);
  void setI32(int64_t offset, int32_t value);
  void setText(int64_t offset, std::string_view bytes);

 private:
  void requireInside(int64_t offset, int64_t count) const;
  std::vector<uint8_t> bytes_;
};

}  // namespace morvane::fixtures
