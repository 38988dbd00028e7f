#include "fuzz_input.h"

#include <algorithm>

#include "recording_writer/recording_writer.h"

namespace morvane::fuzzing {

namespace {
constexpr std::size_t kWrappedPrefix = 7;
}

DecodedInput decodeInput(const uint8_t* data, std::size_t size) {
  DecodedInput out;
  if (size == 0) return out;
  out.mgl = (data[0] & 2) != 0;
  if ((data[0] & 1) == 0) {
    out.file.assign(data + 1, data + size);
    return out;
  }
  if (size < kWrappedPrefix) return out;
  const std::size_t rest = size - kWrappedPrefix;
  const std::size_t bodyLength = std::min<std::size_t>(data[1] | (data[2] << 8), rest);
  static const std::size_t pads[] = {0, 18000, 100000, 118000};
  const std::size_t pad = pads[data[3] & 3];
  const std::size_t headerPart = rest - bodyLength;
  const std::size_t padAt =
      std::min<std::size_t>(data[4] | (data[5] << 8) | (data[6] << 16), headerPart);

  const uint8_t* header = data + kWrappedPrefix;
  std::vector<uint8_t> inflated(header, header + padAt);
  inflated.insert(inflated.end(), pad, 0);
  inflated.insert(inflated.end(), header + padAt, header + headerPart);
  const std::vector<uint8_t> body(header + headerPart, data + size);
  // Stored blocks: no time spent compressing what the fuzzer mutates.
  std::vector<uint8_t> compressed = fixtures::rawDeflate(inflated, 0);
  out.file = fixtures::containerBytes(out.mgl ? fixtures::Layout::kMgl : fixtures::Layout::kMgx,
                                      compressed, body);
  return out;
}

std::vector<uint8_t> encodeWrapped(const std::vector<uint8_t>& header,
                                   const std::vector<uint8_t>& body, bool mgl) {
  std::vector<uint8_t> input(kWrappedPrefix + header.size() + body.size(), 0);
  input[0] = static_cast<uint8_t>(1 | (mgl ? 2 : 0));
  input[1] = static_cast<uint8_t>(body.size() & 0xFF);
  input[2] = static_cast<uint8_t>((body.size() >> 8) & 0xFF);
  const auto bodyAt = std::copy(header.begin(), header.end(), input.begin() + kWrappedPrefix);
  std::copy(body.begin(), body.end(), bodyAt);
  return input;
}

std::vector<uint8_t> encodeRaw(const std::vector<uint8_t>& file, bool mgl) {
  std::vector<uint8_t> input(1 + file.size());
  input[0] = static_cast<uint8_t>(mgl ? 2 : 0);
  std::copy(file.begin(), file.end(), input.begin() + 1);
  return input;
}

}  // namespace morvane::fuzzing
