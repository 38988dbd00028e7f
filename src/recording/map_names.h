// The English names of the built-in maps by the map id the lobby stores.
#pragma once

#include <cstdint>
#include <string_view>

#include "recording/game_version.h"

namespace morvane {

// The built-in map's name, or empty for a custom map, an id the family's
// table does not hold, or a family that stores no map id.
std::string_view builtInMapName(int32_t mapId, VersionFamily family);

// A built-in map's name as the game's Japanese text gives it, by its
// English name, in UTF-8 and in code page 932 (the window's list); both
// empty where that name is not known here.
struct JapaneseMapName {
  std::string_view utf8;
  std::string_view cp932;
};
JapaneseMapName japaneseMapName(std::string_view englishName);

// A custom map's name from its script's file name: without the spaces
// around it and its ".rms", as the public readers name such maps.
std::string_view scriptMapName(std::string_view file);

}  // namespace morvane
