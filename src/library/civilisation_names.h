// The civilisations' full names by civId, from the first edition's 18 to the
// later editions' additions, for the game report (the pane keeps its
// abbreviations).
#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// The full name of civId; empty for 0 (no civilisation) and "#N" for an id
// no edition known here gives, so a later civilisation still shows as itself.
std::string civilisationName(int32_t civId);

}  // namespace morvane
