// The Definitive Edition's chat before the game: the header's last section,
// after the lobby's own settings. Reached from the header's end, whose tail
// the save version fixes, and taken only where every length checks.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "recording/byte_reader.h"
#include "recording/de_header.h"
#include "recording/de_layout.h"

namespace morvane {

// Each message's offset and length in the header (its terminating NUL
// included; empty ones occur). nullopt where no run of messages ends
// exactly at the map seed behind lobby settings that agree with the block.
std::optional<std::vector<std::pair<int64_t, int32_t>>> findDefinitiveLobbyChat(
    ByteSpan header, const DefinitiveLayout& layout, const DefinitiveBlock& block);

}  // namespace morvane
