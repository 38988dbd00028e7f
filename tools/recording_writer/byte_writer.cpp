#include "recording_writer/byte_writer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace morvane::fixtures {

int64_t ByteWriter::u8(uint8_t value) {
  const int64_t at = size();
  bytes_.push_back(value);
  return at;
}

int64_t ByteWriter::i16(int16_t value) {
  const int64_t at = size();
  const auto v = static_cast<uint16_t>(value);
  bytes_.push_back(static_cast<uint8_t>(v & 0xFF));
  bytes_.push_back(static_cast<uint8_t>(v >> 8));
  return at;
}

int64_t ByteWriter::i32(int32_t value) { return u32(static_cast<uint32_t>(value)); }

int64_t ByteWriter::u32(uint32_t value) {
  const int64_t at = size();
  for (int shift = 0; shift < 32; shift += 8) {
    bytes_.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
  }
  return at;
}

int64_t ByteWriter::f32(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return u32(bits);
}

int64_t ByteWriter::text(std::string_view bytes) {
  const int64_t at = size();
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return at;
}

int64_t ByteWriter::raw(const std::vector<uint8_t>& bytes) {
  const int64_t at = size();
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return at;
}

int64_t ByteWriter::fill(int64_t count, uint8_t value) {
  const int64_t at = size();
  if (count > 0) bytes_.insert(bytes_.end(), static_cast<std::size_t>(count), value);
  return at;
}

void ByteWriter::padTo(int64_t offset, uint8_t value) {
  if (size() > offset) {
    std::fprintf(stderr, "fixture: cannot pad to %lld, already at %lld\n",
                 static_cast<long long>(offset), static_cast<long long>(size()));
    std::abort();
  }
  fill(offset - size(), value);
}

void ByteWriter::requireInside(int64_t offset, int64_t count) const {
  if (offset < 0 || count < 0 || offset + count > size()) {
    std::fprintf(stderr, "fixture: write of %lld bytes at %lld outside %lld bytes\n",
                 static_cast<long long>(count), static_cast<long long>(offset),
                 static_cast<long long>(size()));
    std::abort();
  }
}

void ByteWriter::setU8(int64_t offset, uint8_t value) {
  requireInside(offset, 1);
  bytes_[static_cast<std::size_t>(offset)] = value;
}

void ByteWriter::setI16(int64_t offset, int16_t value) {
  requireInside(offset, 2);
  const auto v = static_cast<uint16_t>(value);
  bytes_[static_cast<std::size_t>(offset)] = static_cast<uint8_t>(v & 0xFF);
  bytes_[static_cast<std::size_t>(offset) + 1] = static_cast<uint8_t>(v >> 8);
}

void ByteWriter::setI32(int64_t offset, int32_t value) {
  requireInside(offset, 4);
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) {
    bytes_[static_cast<std::size_t>(offset + i)] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
  }
}

void ByteWriter::setText(int64_t offset, std::string_view bytes) {
  requireInside(offset, static_cast<int64_t>(bytes.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes_[static_cast<std::size_t>(offset) + i] = static_cast<uint8_t>(bytes[i]);
  }
}

}  // namespace morvane::fixtures
