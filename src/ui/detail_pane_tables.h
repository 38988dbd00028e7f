// What the detail pane shows for a player: civilisation abbreviations,
// name colours and the line between the lobby and the game chat.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "library/player_colours.h"
#include "recording/game_entry.h"

namespace morvane::ui {

inline constexpr char gameStartSeparator[] =
    "-------------------<Game start>-------------------\r\n";

// The abbreviation of civId, from the one civilisation table; empty for an
// id outside it.
std::string civilisationText(int32_t civId);

// The colour at a slot colour index; black for an index outside the table.
COLORREF slotColour(int32_t index);

// The slot the player at list position k (1..8) uses, or null when its player
// number is outside 0..8.
const PlayerSlot* slotOfPosition(const GameEntry& entry, int position);

// The slot colour index of list position k: its slot's colourId + 1, or 0
// (black) without a slot.
int32_t slotColourIndex(const GameEntry& entry, int position);

// The chat box text: the lobby chat, the separator, the game chat.
std::string chatText(const GameEntry& entry);

}  // namespace morvane::ui
