// Names of what the players researched, built and trained, by the game's
// own ids, as the edition that wrote the recording names them.
#pragma once

#include <cstdint>

#include "recording/game_version.h"

namespace morvane {

// English, as the edition names the id where its table differs, else as
// the Definitive Edition does; null for an id no table gives.
const char* technologyName(int32_t techId, VersionFamily family);
const char* unitName(int32_t unitId, VersionFamily family);

// The game's Japanese name in UTF-8, where a table of its Japanese strings
// has it for the name the edition gives; otherwise null (show the English).
const char* technologyNameInJapanese(int32_t techId, VersionFamily family);
const char* unitNameInJapanese(int32_t unitId, VersionFamily family);

}  // namespace morvane
