#include "library/play_names.h"

#include <algorithm>
#include <iterator>

namespace morvane {
namespace {

struct Name {
  int32_t id;
  const char* english;
  const char* japanese;  // null where the Japanese table has none
};

// The game's own ids named as the public reference data of its recordings
// names them (SiegeEngineers/aoc-reference-data e9bab45, datasets 100 for the
// Definitive Edition, 300 for the later edition, 0 for The Conquerors 1.0c,
// which also serves the base game and the community patches); Japanese from
// the game's Japanese strings as SiegeEngineers/aoe2techtree b34082d holds
// them (data/locales/jp), kept only where its English agrees. Sorted by id.
#include "library/play_names_table.inc"

template <std::size_t N>
const Name* find(const Name (&table)[N], int32_t id) {
  const Name* end = table + N;
  const Name* it =
      std::lower_bound(table, end, id, [](const Name& n, int32_t value) { return n.id < value; });
  return it != end && it->id == id ? it : nullptr;
}

bool earlierEdition(VersionFamily family) {
  return family != VersionFamily::kHD && family != VersionFamily::kDE;
}

// The edition's own name where it differs from the Definitive Edition's,
// else that one.
template <std::size_t A, std::size_t B, std::size_t C>
const Name* lookup(int32_t id, VersionFamily family, const Name (&definitive)[A],
                   const Name (&conquerors)[B], const Name (&later)[C]) {
  if (earlierEdition(family)) {
    if (const Name* own = find(conquerors, id)) return own;
  } else if (family == VersionFamily::kHD) {
    if (const Name* own = find(later, id)) return own;
  }
  return find(definitive, id);
}

const Name* technology(int32_t id, VersionFamily family) {
  return lookup(id, family, kTechnologies, kTechnologiesConquerors, kTechnologiesLater);
}

const Name* unit(int32_t id, VersionFamily family) {
  return lookup(id, family, kUnits, kUnitsConquerors, kUnitsLater);
}

}  // namespace

const char* technologyName(int32_t techId, VersionFamily family) {
  const Name* name = technology(techId, family);
  return name ? name->english : nullptr;
}

const char* unitName(int32_t unitId, VersionFamily family) {
  const Name* name = unit(unitId, family);
  return name ? name->english : nullptr;
}

const char* technologyNameInJapanese(int32_t techId, VersionFamily family) {
  const Name* name = technology(techId, family);
  return name ? name->japanese : nullptr;
}

const char* unitNameInJapanese(int32_t unitId, VersionFamily family) {
  const Name* name = unit(unitId, family);
  return name ? name->japanese : nullptr;
}

}  // namespace morvane
