// The fuzz target's body: one input loaded as a recorded game, parsed and its
// map drawn.
// Shared by the libFuzzer entry point and the replay of fuzz/regressions/.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvane::fuzzing {

// Loads and parses the recording the input decodes to, writing it into a
// scratch folder of its own. Besides what the sanitizers catch, answers the
// first broken promise of the reader (a temporary file left behind, an entry
// outside its own limits) or of the minimap, or null when every promise held.
const char* checkRecording(const uint8_t* data, std::size_t size);

}  // namespace morvane::fuzzing
