// Fuzz target bodies for what users hand the program besides recordings:
// the name tables beside the program, and the names and filter text that the
// code page rules upper-case, search and order.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvane::fuzzing {

// Reads the input as a name table file. Answers the first broken promise
// (a key holding a tab or a line end, a value holding a line end), or null.
const char* checkNameTable(const uint8_t* data, std::size_t size);

// The first byte picks a code page, the second where the rest splits into
// two texts. Answers the first broken promise of the text rules (a length
// changed by upper-casing, a match that is not one, an order that is not
// antisymmetric, a character longer than two bytes), or null.
const char* checkCodePageText(const uint8_t* data, std::size_t size);

}  // namespace morvane::fuzzing
