// How a fuzz input becomes a recorded-game file, shared by the fuzz target
// and the seed writer so that seeds decode the way the target reads them.
//
// byte 0, bit 0 clear: the rest is the whole file, as it stands.
// byte 0, bit 0 set:   the rest is an inflated header and a body, wrapped
//                      into a container here, so mutations reach the parser
//                      instead of breaking the deflate stream:
//   bytes 1-2  body length (little-endian), taken from the end
//   byte 3     zeros inserted into the header: 0, 18000, 100000 or 118000
//              (low two bits), lifting small inputs into the search windows
//   bytes 4-6  where the zeros go, an offset into the header part
// byte 0, bit 1: the file is named .mgl (else .mgx).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvane::fuzzing {

struct DecodedInput {
  std::vector<uint8_t> file;
  bool mgl = false;
};

DecodedInput decodeInput(const uint8_t* data, std::size_t size);

// The input that decodes to a wrapped header and body.
std::vector<uint8_t> encodeWrapped(const std::vector<uint8_t>& header,
                                   const std::vector<uint8_t>& body, bool mgl);
// The input that decodes to exactly this file.
std::vector<uint8_t> encodeRaw(const std::vector<uint8_t>& file, bool mgl);

}  // namespace morvane::fuzzing
