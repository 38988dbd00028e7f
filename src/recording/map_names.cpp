// Two tables: The Conquerors' ids, kept by its patches, and the later
// edition's, which keeps the same ids up to Byzantium and numbers its own
// maps one above where the published tables put them (Steppe is 58 there).
// Yucatan is 27 and Salt Marsh 28, as the recordings' own map type lines
// name them; published tables have the two the other way round.
#include "recording/map_names.h"

#include <algorithm>
#include <cctype>
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

// The Definitive Edition's own numbering, from its recordings' public
// reference data (SiegeEngineers/aoc-reference-data e9bab45, dataset 100).
// It keeps The Conquerors' ids to Nomad, then numbers its special maps from
// 34, the real-world maps from 49 (as aoe2.net's strings of the game's lobby
// give them too) and its own maps from 67. 59 is "Custom": a map played from
// its own file, which no id names.
constexpr MapName kDefinitiveMaps[] = {
    {9, "Arabia"}, {10, "Archipelago"}, {11, "Baltic"}, {12, "Black Forest"}, {13, "Coastal"},
    {14, "Continental"}, {15, "Crater Lake"}, {16, "Fortress"}, {17, "Gold Rush"},
    {18, "Highland"}, {19, "Islands"}, {20, "Mediterranean"}, {21, "Migration"}, {22, "Rivers"},
    {23, "Team Islands"}, {25, "Scandinavia"}, {26, "Mongolia"}, {27, "Yucatan"},
    {28, "Salt Marsh"}, {29, "Arena"}, {31, "Oasis"}, {32, "Ghost Lake"}, {33, "Nomad"},
    {34, "Canals"}, {35, "Capricious"}, {36, "Dingos"}, {37, "Graveyards"}, {38, "Metropolis"},
    {39, "Moats"}, {40, "Paradise Island"}, {41, "Pilgrims"}, {42, "Prairie"}, {43, "Seasons"},
    {44, "Sherwood Forest"}, {46, "Shipwreck"}, {47, "Team Glaciers"}, {49, "Iberia"},
    {50, "Britain"}, {51, "Mideast"}, {52, "Texas"}, {53, "Italy"}, {54, "Central America"},
    {55, "France"}, {56, "Norse Lands"}, {57, "Sea of Japan (East Sea)"}, {58, "Byzantium"},
    {67, "Acropolis"}, {68, "Budapest"}, {69, "Cenotes"}, {70, "City of Lakes"},
    {71, "Golden Pit"}, {72, "Hideout"}, {73, "Hill Fort"}, {74, "Lombardia"}, {75, "Steppe"},
    {76, "Valley"}, {77, "MegaRandom"}, {78, "Hamburger"}, {79, "CtR Random"},
    {80, "CtR Monsoon"}, {81, "CtR Pyramid Descent"}, {82, "CtR Spiral"}, {83, "Kilimanjaro"},
    {84, "Mountain Pass"}, {85, "Nile Delta"}, {86, "Serengeti"}, {87, "Socotra"}, {88, "Amazon"},
    {89, "China"}, {90, "Horn of Africa"}, {91, "India"}, {92, "Madagascar"}, {93, "West Africa"},
    {94, "Bohemia"}, {95, "Earth"}, {96, "Canyons"}, {97, "Enemy Archipelago"},
    {98, "Enemy Islands"}, {99, "Far Out"}, {100, "Front Line"}, {101, "Inner Circle"},
    {102, "Motherland"}, {103, "Open Plains"}, {104, "Ring of Water"}, {105, "Snakepit"},
    {106, "The Eye"}, {107, "Australia"}, {108, "Indochina"}, {109, "Indonesia"},
    {110, "Strait of Malacca"}, {111, "Philippines"}, {112, "Bog Islands"},
    {113, "Mangrove Jungle"}, {114, "Pacific Islands"}, {115, "Sandbank"}, {116, "Water Nomad"},
    {117, "Jungle Islands"}, {118, "Holy Line"}, {119, "Border Stones"}, {120, "Yin Yang"},
    {121, "Jungle Lanes"}, {122, "Alpine Lakes"}, {123, "Bogland"}, {124, "Mountain Ridge"},
    {125, "Ravines"}, {126, "Wolf Hill"}, {127, "Swirling River"}, {128, "Twin Forests"},
    {129, "Journey South"}, {130, "Snake Forest"}, {131, "Sprawling Streams"},
    {132, "Antarctica"}, {133, "Aral Sea"}, {134, "Black Sea"}, {135, "Caucasus"},
    {136, "Siberia"}, {139, "Golden Swamp"}, {140, "Four Lakes"}, {141, "Land Nomad"},
    {142, "BR Battle On Ice"}, {143, "BR El Dorado"}, {144, "BR Fall of Axum"},
    {145, "BR Fall of Rome"}, {146, "BR Majapahit Empire"}, {147, "Amazon Tunnel"},
    {148, "Coastal Forest"}, {149, "African Clearing"}, {150, "Atacama"},
    {151, "Seize The Mountain"}, {152, "Crater"}, {153, "Crossroads"}, {154, "Michi"},
    {155, "Team Moats"}, {156, "Volcanic Island"}, {157, "Acclivity"}, {158, "Eruption"},
    {159, "Frigid Lake"}, {160, "Greenland"}, {161, "Lowland"}, {162, "Marketplace"},
    {163, "Meadow"}, {164, "Mountain Range"}, {165, "Northern Isles"}, {166, "Ring Fortress"},
    {167, "Runestones"}, {168, "Aftermath"}, {169, "Enclosed"}, {170, "Haboob"}, {171, "Kawasan"},
    {172, "Land Madness"}, {173, "Sacred Springs"}, {174, "Wade"}, {175, "Morass"},
    {176, "Shoals"}, {177, "Cliffbound"}, {178, "Isthmus"}, {179, "Dunesprings"},
    {180, "Golden Stream"}, {181, "Mountain Dunes"}, {182, "River Divide"}, {183, "Sandrift"},
    {184, "Shrubland"}, {185, "The Passage"}, {186, "Hollow Woodlands"}, {187, "Karsts"},
    {188, "Glade"}, {189, "Fortified Clearing"}, {190, "QS Arabia"},
    {191, "QS Fortified Clearing"}, {192, "QS Glade"}, {193, "QS Nomad"}, {194, "QS Runestones"},
    {195, "QS Arena"}, {196, "QS Black Forest"}, {197, "Great Wall"}, {198, "Border Dispute"},
    {199, "Graupel"}, {200, "Stranded"}, {201, "Sardis"}, {202, "Aquarena"},
    {203, "Forest Breach"}, {204, "Chaos Pit"}, {205, "Mired"}, {206, "Murkwood"},
    {207, "Crownwood"}, {208, "Dorothea Quarry"}, {209, "Glacis"}, {210, "Hengehold"},
    {211, "Loch Ness"}, {212, "Rampart"}, {213, "Stonefront"}, {214, "Thames"}, {215, "Vulpine"},
};

constexpr int32_t kLastSharedMap = 43;

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
    // 59 names no map: every recording here that states it (five, four maps)
    // played a script of its own, which the lobby names, as the Definitive
    // Edition's 59 does.
    {60, "MegaRandom"},
    {61, "Hamburger"},
    {62, "CtR Random"},
    {63, "CtR Monsoon"},
    {64, "CtR Pyramid Descent"},
    {65, "CtR Spiral"},
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
      return lookUp(kDefinitiveMaps, mapId);
    default:
      return lookUp(kConquerorsMaps, mapId);
  }
}

std::string_view scriptMapName(std::string_view file) {
  constexpr std::string_view kExtension = ".rms";
  const auto space = [](char c) { return c == ' '; };
  while (!file.empty() && space(file.front())) file.remove_prefix(1);
  while (!file.empty() && space(file.back())) file.remove_suffix(1);
  if (file.size() > kExtension.size()) {
    const std::string_view tail = file.substr(file.size() - kExtension.size());
    if (std::equal(tail.begin(), tail.end(), kExtension.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == b;
        }))
      file.remove_suffix(kExtension.size());
  }
  return file;
}

JapaneseMapName japaneseMapName(std::string_view englishName) {
  for (const JapaneseName& name : kJapaneseNames) {
    if (name.english == englishName) return name.japanese;
  }
  return {};
}

}  // namespace morvane
