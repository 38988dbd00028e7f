// The civilisations' full names by civId, from the first edition's 18 to the
// later editions' additions: in English for the inspector, in Japanese for
// the game report (the pane keeps its abbreviations).
#pragma once

#include <cstdint>
#include <string>

#include "recording/game_version.h"

namespace morvane {

// The full name of civId as the edition that wrote it names it; empty for 0
// (no civilisation) and "#N" for an id that edition is not known to give, so
// a later civilisation still shows as itself.
std::string civilisationName(int32_t civId, VersionFamily family);

// The name the game's Japanese editions give civId, in UTF-8: the first
// Japanese edition's for its ids, the Definitive Edition's for the ids that
// came after; empty for 0 and "#N" for an id no edition known here gives.
std::string civilisationNameInJapanese(int32_t civId);

}  // namespace morvane
