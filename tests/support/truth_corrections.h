// Fields where a shared truth file pins a value that a later reading of the
// game's layout showed to be wrong, with the value a right reading gives. Each
// was worked out apart from this reader, from the layout alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace morvane::fixtures {

struct TruthCorrection {
  std::string_view file;
  std::string_view field;
  int64_t value;
};

// Patch 1.5 writes each tile as 255, the terrain id, the elevation and an
// unused byte; the truth files took every other byte as the pairs of the
// other versions. These are the crc32s of the terrain ids of its 4-byte tiles.
inline constexpr TruthCorrection kTruthCorrections[] = {
    {"small.mgz", "mapTilesCrc32", 3890780749},
    {"AOCUP15_4v4_8_caeb24e3.mgz", "mapTilesCrc32", 646633511},
};

inline std::optional<int64_t> correctedTruth(std::string_view file, std::string_view field) {
  for (const TruthCorrection& c : kTruthCorrections) {
    if (c.file == file && c.field == field) return c.value;
  }
  return std::nullopt;
}

}  // namespace morvane::fixtures
