#include "library/player_colours.h"

namespace morvane {
namespace {

// Blue, red, green, yellow, cyan, purple, grey, orange.
constexpr Rgb kSlotColourTable[kSlotColours] = {
    {0, 0, 0},     {0, 0, 192},   {224, 0, 0},     {0, 192, 0},   {192, 192, 0},
    {0, 192, 192}, {192, 0, 128}, {128, 128, 128}, {255, 128, 0},
};

}  // namespace

Rgb slotColour(int32_t index) {
  if (index < 0 || index >= kSlotColours) return kSlotColourTable[0];
  return kSlotColourTable[index];
}

int32_t slotColourIndexOf(int32_t colourId) {
  if (colourId < -1 || colourId >= kSlotColours - 1) return 0;
  return colourId + 1;
}

}  // namespace morvane
