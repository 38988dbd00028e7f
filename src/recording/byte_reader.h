// Bounds-checked reads over a byte span: every header and body read of the
// parser goes through here, so no byte outside the buffer is ever touched.
// ByteSpan reads at fixed offsets and searches; ByteReader walks a layout.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace morvane {

class ByteSpan {
 public:
  ByteSpan() = default;
  ByteSpan(const uint8_t* data, std::size_t size)
      : data_(data), size_(static_cast<int64_t>(size)) {}

  int64_t size() const { return size_; }

  // Offsets are signed 64-bit so that header arithmetic with int32 values read
  // from a file can neither overflow nor wrap into range.
  bool contains(int64_t offset, int64_t count) const {
    return offset >= 0 && count >= 0 && offset <= size_ && count <= size_ - offset;
  }

  std::optional<uint8_t> u8(int64_t offset) const {
    if (!contains(offset, 1)) return std::nullopt;
    return data_[offset];
  }

  std::optional<int16_t> i16(int64_t offset) const {
    const uint8_t* p = at(offset, 2);
    if (!p) return std::nullopt;
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
  }

  std::optional<uint32_t> u32(int64_t offset) const {
    const uint8_t* p = at(offset, 4);
    if (!p) return std::nullopt;
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  }

  std::optional<int32_t> i32(int64_t offset) const {
    auto v = u32(offset);
    if (!v) return std::nullopt;
    return static_cast<int32_t>(*v);
  }

  std::optional<uint16_t> u16(int64_t offset) const {
    auto v = i16(offset);
    if (!v) return std::nullopt;
    return static_cast<uint16_t>(*v);
  }

  // An IEEE single, as the game stores versions, speeds and positions.
  std::optional<float> f32(int64_t offset) const {
    auto v = u32(offset);
    if (!v) return std::nullopt;
    float value = 0;
    std::memcpy(&value, &*v, sizeof value);
    return value;
  }

  // True when the bytes at offset equal pattern; false when out of range.
  bool matches(int64_t offset, std::string_view pattern) const {
    const uint8_t* p = at(offset, static_cast<int64_t>(pattern.size()));
    return p && std::memcmp(p, pattern.data(), pattern.size()) == 0;
  }

  // True when the count bytes at offset all hold value; false when out of range.
  bool filledWith(int64_t offset, int64_t count, uint8_t value) const {
    const uint8_t* p = at(offset, count);
    return p && std::all_of(p, p + count, [value](uint8_t b) { return b == value; });
  }

  // The bytes of at most count (and at most limit) at offset, clamped to the
  // span and ending before the first NUL: how names and messages are stored.
  std::string_view text(int64_t offset, int64_t count, int64_t limit) const {
    if (offset < 0 || offset > size_) return {};
    count = std::min({count, limit, size_ - offset});
    if (count <= 0) return {};
    const auto* begin = reinterpret_cast<const char*>(data_ + offset);
    const void* nul = std::memchr(begin, 0, static_cast<std::size_t>(count));
    if (nul) count = static_cast<const char*>(nul) - begin;
    return std::string_view(begin, static_cast<std::size_t>(count));
  }

  // Copies the bytes at offset, offset + stride, ... (at most count of them)
  // into out, stopping before the first that lies outside; answers how many
  // were copied. stride must be positive.
  int64_t copyStrided(int64_t offset, int64_t stride, int64_t count, uint8_t* out) const {
    if (offset < 0 || offset >= size_ || count <= 0) return 0;
    count = std::min(count, (size_ - 1 - offset) / stride + 1);
    const uint8_t* from = data_ + offset;
    for (int64_t i = 0; i < count; ++i) out[i] = from[i * stride];
    return count;
  }

  static constexpr int64_t kNotFound = -1;

  // First offset p in [from, lastStart] at which pattern lies wholly inside
  // the span, or kNotFound. An empty pattern matches at from. The search
  // skips from one occurrence of the pattern's byte at key to the next, so
  // key should name its rarest byte in the bytes searched.
  int64_t findForward(std::string_view pattern, int64_t from, int64_t lastStart,
                      std::size_t key = 0) const {
    const auto n = static_cast<int64_t>(pattern.size());
    if (from < 0) from = 0;
    if (lastStart > size_ - n) lastStart = size_ - n;
    if (from > lastStart) return kNotFound;
    if (n == 0) return from;
    const auto k = static_cast<int64_t>(key);
    const auto keyByte = static_cast<unsigned char>(pattern[key]);
    int64_t p = from;
    while (p <= lastStart) {
      const void* hit =
          std::memchr(data_ + p + k, keyByte, static_cast<std::size_t>(lastStart - p + 1));
      if (!hit) return kNotFound;
      p = static_cast<const uint8_t*>(hit) - data_ - k;
      if (std::memcmp(data_ + p, pattern.data(), pattern.size()) == 0) return p;
      ++p;
    }
    return kNotFound;
  }

  // Highest offset p whose match's last byte p + size - 1 lies in
  // [lowestLast, highestLast], or kNotFound. The pattern must not be empty.
  // Skips from one occurrence of its byte at key to the next, as findForward.
  int64_t findBackward(std::string_view pattern, int64_t highestLast, int64_t lowestLast,
                       std::size_t key = 0) const {
    const auto n = static_cast<int64_t>(pattern.size());
    if (n == 0) return kNotFound;
    if (highestLast > size_ - 1) highestLast = size_ - 1;
    if (lowestLast < n - 1) lowestLast = n - 1;
    const auto k = static_cast<int64_t>(key);
    const auto keyByte = static_cast<uint8_t>(pattern[key]);
    const int64_t lowestStart = lowestLast - n + 1;
    for (int64_t p = highestLast - n + 1; p >= lowestStart; --p) {
      p = lastByteAt(keyByte, lowestStart + k, p + k) - k;
      if (p < lowestStart) return kNotFound;
      if (std::memcmp(data_ + p, pattern.data(), pattern.size()) == 0) return p;
    }
    return kNotFound;
  }

 private:
  // Highest offset in [low, high] holding byte, or low - 1 when none does.
  // Both lie inside the span.
  int64_t lastByteAt(uint8_t byte, int64_t low, int64_t high) const {
#if defined(__GLIBC__)
    if (high < low) return low - 1;
    const void* hit = memrchr(data_ + low, byte, static_cast<std::size_t>(high - low + 1));
    return hit ? static_cast<const uint8_t*>(hit) - data_ : low - 1;
#else
    while (high >= low && data_[high] != byte) --high;
    return high;
#endif
  }

  // Pointer to count bytes at offset, or null when they do not all lie inside.
  const uint8_t* at(int64_t offset, int64_t count) const {
    return contains(offset, count) ? data_ + offset : nullptr;
  }

  const uint8_t* data_ = nullptr;
  int64_t size_ = 0;
};

// A cursor over a ByteSpan. Reads advance; a read that does not fit marks the
// cursor failed, returns 0 and leaves the position where it was, and once
// failed nothing moves it again, so a run of reads is checked once at its end.
// A skip is plain arithmetic: a position past the end fails the next read.
class ByteReader {
 public:
  ByteReader(ByteSpan bytes, int64_t position) : bytes_(bytes), position_(position) {}

  int64_t position() const { return position_; }
  // True after a failed read or while the position lies outside the span.
  bool failed() const { return failed_ || !bytes_.contains(position_, 0); }
  void fail() { failed_ = true; }

  uint8_t u8() { return take(bytes_.u8(position_), 1); }
  int16_t i16() { return take(bytes_.i16(position_), 2); }
  int32_t i32() { return take(bytes_.i32(position_), 4); }
  uint16_t u16() { return take(bytes_.u16(position_), 2); }
  uint32_t u32() { return take(bytes_.u32(position_), 4); }
  float f32() { return take(bytes_.f32(position_), 4); }

  // Steps over pattern where it stands; anything else fails the cursor.
  void expect(std::string_view pattern) {
    if (failed_ || !bytes_.matches(position_, pattern)) {
      failed_ = true;
      return;
    }
    position_ += static_cast<int64_t>(pattern.size());
  }

  // Steps over count bytes that all hold value; anything else fails the cursor.
  void expectRun(int64_t count, uint8_t value) {
    if (failed_ || !bytes_.filledWith(position_, count, value)) {
      failed_ = true;
      return;
    }
    position_ += count;
  }

  void skip(int64_t count) {
    if (!failed_) position_ += count;
  }
  // Skips a stored length; a negative one cannot be followed.
  void skipLength(int32_t length) {
    if (length < 0) fail();
    skip(length);
  }
  // A stored text of length bytes, seen through ByteSpan::text and skipped
  // whole even where the view was cut.
  std::string_view text(int32_t length, int64_t limit) {
    const std::string_view view =
        failed_ ? std::string_view() : bytes_.text(position_, length, limit);
    skipLength(length);
    return view;
  }

 private:
  template <typename T>
  T take(std::optional<T> value, int64_t width) {
    if (failed_ || !value) {
      failed_ = true;
      return 0;
    }
    position_ += width;
    return *value;
  }

  ByteSpan bytes_;
  int64_t position_;
  bool failed_ = false;
};

}  // namespace morvane
