// The Definitive Edition's AI section: where any player is a computer, the
// header holds the AI scripts' strings and rules between the edition's own
// block and the replay section. It is stepped over by its structure, every
// count and fixed value checked where it stands; nothing is searched for.
#pragma once

#include <cstdint>
#include <optional>

#include "recording/byte_reader.h"

namespace morvane {

// From the AI flag (an int32 at flagAt): the offset of the replay section,
// after the AI section where the flag is set. nullopt when the section does
// not hold the structure every recording of it shows; such a header is not
// one the version table knows.
std::optional<int64_t> replaySectionAt(ByteSpan header, int64_t flagAt);

}  // namespace morvane
