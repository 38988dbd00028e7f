// The colour the game's minimap gives each terrain id.
#pragma once

#include <cstdint>

#include "library/player_colours.h"

namespace morvane {

// How the ground runs from a tile to its neighbour one column and one row on
// (the next tile to its right on the minimap): sloping ground is drawn lighter
// or darker than flat.
enum class Slope { kDown, kFlat, kUp };

// The colour of a tile whose terrain is not known.
inline constexpr Rgb kUnknownTerrainColour = {0x80, 0x80, 0x80};

// The minimap colour of a terrain id on ground of that slope;
// kUnknownTerrainColour for an id the game does not have.
Rgb terrainColour(uint8_t terrain, Slope slope);

}  // namespace morvane
