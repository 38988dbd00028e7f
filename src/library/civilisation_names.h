// The civilisations' full names by civId, from the first edition's 18 to the
// later editions' additions, for the game report and the inspector (the
// pane keeps its abbreviations).
#pragma once

#include <cstdint>
#include <string>

#include "recording/game_version.h"

namespace morvane {

// The full name of civId as the edition that wrote it names it; empty for 0
// (no civilisation) and "#N" for an id that edition is not known to give, so
// a later civilisation still shows as itself.
std::string civilisationName(int32_t civId, VersionFamily family);

}  // namespace morvane
