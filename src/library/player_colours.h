// The eight player colours, as the detail pane writes the player names and
// the minimap marks where they start.
#pragma once

#include <cstdint>

namespace morvane {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// Slot colour index 0 is black (no player); 1..8 are the player colours.
inline constexpr int kSlotColours = 9;

// The colour at a slot colour index; black for an index outside the table.
Rgb slotColour(int32_t index);

// The slot colour index of a player's colourId: colourId + 1, or 0 (black)
// for an id outside the eight colours.
int32_t slotColourIndexOf(int32_t colourId);

}  // namespace morvane
