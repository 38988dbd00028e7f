// The English names of the built-in maps by the map id the lobby stores.
#pragma once

#include <cstdint>
#include <string_view>

#include "recording/game_version.h"

namespace morvane {

// The built-in map's name, or empty for a custom map, an id the family's
// table does not hold, or a family that stores no map id.
std::string_view builtInMapName(int32_t mapId, VersionFamily family);

}  // namespace morvane
