// The map id the lobby's game settings state.
#pragma once

#include <cstdint>
#include <optional>

#include "recording/byte_reader.h"
#include "recording/game_version.h"
#include "recording/header_stages.h"

namespace morvane {

// From the later edition's lobby block where the version has one (its name
// list holds a placeholder there), otherwise from before the name list;
// absent where the version stores none or the block cannot be read.
std::optional<int32_t> readMapId(ByteSpan header, const HeaderLayout& layout,
                                 const PlayerListPositions& list);

}  // namespace morvane
