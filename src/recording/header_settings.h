// The lobby's settings and the restore time, read from the header at the
// positions the header stages found.
#pragma once

#include <cstdint>

#include "recording/byte_reader.h"
#include "recording/game_facts.h"
#include "recording/game_version.h"
#include "recording/header_stages.h"

namespace morvane {

GameSettings readSettings(ByteSpan header, const HeaderLayout& layout,
                          const PlayerListPositions& list, const TeamWalk& teams,
                          int32_t playerCount);

// The game time a restored game was saved at, in milliseconds; 0 for a game
// played from its start or when the map's tables cannot be walked to it.
int64_t readRestoreTime(ByteSpan header, const PlayerListPositions& list, int32_t width,
                        int32_t height);

}  // namespace morvane
