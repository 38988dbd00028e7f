// Two tables: The Conquerors' ids, kept by its patches, and the later
// edition's, which keeps the same ids up to Byzantium and numbers its own
// maps one above where the published tables put them (Steppe is 58 there).
// Yucatan is 27 and Salt Marsh 28, as the recordings' own map type lines
// name them; published tables have the two the other way round.
#include "recording/map_names.h"

#include <algorithm>
#include <iterator>

namespace morvane {
namespace {

struct MapName {
  int32_t id;
  std::string_view name;
};

// Ordered by id.
constexpr MapName kConquerorsMaps[] = {
    {9, "Arabia"},
    {10, "Archipelago"},
    {11, "Baltic"},
    {12, "Black Forest"},
    {13, "Coastal"},
    {14, "Continental"},
    {15, "Crater Lake"},
    {16, "Fortress"},
    {17, "Gold Rush"},
    {18, "Highland"},
    {19, "Islands"},
    {20, "Mediterranean"},
    {21, "Migration"},
    {22, "Rivers"},
    {23, "Team Islands"},
    {24, "Full Random"},
    {25, "Scandinavia"},
    {26, "Mongolia"},
    {27, "Yucatan"},
    {28, "Salt Marsh"},
    {29, "Arena"},
    {30, "King of the Hill"},
    {31, "Oasis"},
    {32, "Ghost Lake"},
    {33, "Nomad"},
    {34, "Iberia"},
    {35, "Britain"},
    {36, "Mideast"},
    {37, "Texas"},
    {38, "Italy"},
    {39, "Central America"},
    {40, "France"},
    {41, "Norse Lands"},
    {42, "Sea of Japan (East Sea)"},
    {43, "Byzantium"},
    // 44 is a custom map: its name is the map type line's, not the id's.
    {48, "Blind Random"},
};

// The Definitive Edition's numbers for the real-world maps, 15 above The
// Conquerors'. The game's own list of its lobby's map ids, as aoe2.net's
// strings give it (api/strings?game=aoe2de, map_type), names these, and
// agrees with aoc-reference-data where both name an id (and with the
// recordings' Yucatan and Salt Marsh). It names 59 "Custom": a map played
// from its own file, which no id names.
constexpr MapName kDefinitiveWorldMaps[] = {
    {49, "Iberia"},    {50, "Britain"},     {51, "Mideast"},
    {52, "Texas"},     {53, "Italy"},       {54, "Central America"},
    {55, "France"},    {56, "Norse Lands"}, {57, "Sea of Japan (East Sea)"},
    {58, "Byzantium"},
};

constexpr int32_t kLastSharedMap = 43;
constexpr int32_t kFirstDefinitiveOwnMap = 67;

// The later edition's maps after the ones it shares.
constexpr MapName kLaterEditionMaps[] = {
    {50, "Acropolis"},
    {51, "Budapest"},
    {52, "Cenotes"},
    {53, "City of Lakes"},
    {54, "Golden Pit"},
    {55, "Hideout"},
    {56, "Hill Fort"},
    {57, "Lombardia"},
    {58, "Steppe"},
    {59, "Valley"},
    {60, "MegaRandom"},
    {61, "Hamburger"},
    {62, "CtR Random"},
    {63, "CtR Monsoon"},
    {64, "CtR Pyramid Descent"},
    {65, "CtR Spiral"},
    {67, "Acropolis"},
    {68, "Budapest"},
    {69, "Cenotes"},
    {70, "City of Lakes"},
    {71, "Golden Pit"},
    {72, "Hideout"},
    {73, "Hill Fort"},
    {74, "Lombardia"},
    {75, "Steppe"},
    {76, "Valley"},
    {77, "MegaRandom"},
    {78, "Hamburger"},
    {79, "CtR Random"},
    {80, "CtR Monsoon"},
    {81, "CtR Pyramid Descent"},
    {82, "CtR Spiral"},
    {83, "Kilimanjaro"},
    {84, "Mountain Pass"},
    {85, "Nile Delta"},
    {86, "Serengeti"},
    {87, "Socotra"},
    {88, "Amazon"},
    {89, "China"},
    {90, "Horn of Africa"},
    {91, "India"},
    {92, "Madagascar"},
    {93, "West Africa"},
    {94, "Bohemia"},
    {95, "Earth"},
    {96, "Canyons"},
    {97, "Enemy Archipelago"},
    {98, "Enemy Islands"},
    {99, "Far Out"},
    {100, "Front Line"},
    {101, "Inner Circle"},
    {102, "Motherland"},
    {103, "Open Plains"},
    {104, "Ring of Water"},
    {105, "Snakepit"},
    {106, "The Eye"},
};

// Only names a Japanese recording's own map type line shows: the others
// stay in English until the game's Japanese text for them is confirmed.
struct JapaneseName {
  std::string_view english;
  JapaneseMapName japanese;
};
constexpr JapaneseName kJapaneseNames[] = {
    {"Arabia", {u8"アラビア", "\x83\x41\x83\x89\x83\x72\x83\x41"}},
};

template <std::size_t N>
std::string_view lookUp(const MapName (&table)[N], int32_t id) {
  const auto* found =
      std::lower_bound(std::begin(table), std::end(table), id,
                       [](const MapName& map, int32_t key) { return map.id < key; });
  return found != std::end(table) && found->id == id ? found->name : std::string_view();
}

}  // namespace

std::string_view builtInMapName(int32_t mapId, VersionFamily family) {
  switch (family) {
    case VersionFamily::kUnknown:
    case VersionFamily::kAoK:
    case VersionFamily::kAoKTrial:
      return {};
    case VersionFamily::kHD:
      return mapId <= kLastSharedMap ? lookUp(kConquerorsMaps, mapId)
                                     : lookUp(kLaterEditionMaps, mapId);
    case VersionFamily::kDE:
      // Its recordings' public reference data (SiegeEngineers/aoc-reference-
      // data, dataset 100) numbers the maps the later edition added from 67.
      if (mapId >= kFirstDefinitiveOwnMap) return lookUp(kLaterEditionMaps, mapId);
      if (!lookUp(kDefinitiveWorldMaps, mapId).empty()) return lookUp(kDefinitiveWorldMaps, mapId);
      return lookUp(kConquerorsMaps, mapId);
    default:
      return lookUp(kConquerorsMaps, mapId);
  }
}

JapaneseMapName japaneseMapName(std::string_view englishName) {
  for (const JapaneseName& name : kJapaneseNames) {
    if (name.english == englishName) return name.japanese;
  }
  return {};
}

}  // namespace morvane
