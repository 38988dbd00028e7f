// The map of a parsed game as the game's own minimap shows it.
#pragma once

#include <cstdint>
#include <vector>

#include "recording/game_entry.h"
#include "recording/game_play.h"

namespace morvane {

// An RGBA picture, row by row from the top, 4 bytes a pixel.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgba;
};

// Sizes the drawing accepts; a size outside is brought inside.
inline constexpr int32_t kMinimapMinSize = 8;
inline constexpr int32_t kMinimapMaxSize = 4096;

// The map turned 45 degrees into a diamond twice as wide as tall, size pixels
// across whatever the map's size: tile (0, 0) at the left corner, x running to
// the top corner and y to the bottom one. Each tile is drawn in its terrain's
// colour, lighter or darker where the ground slopes; where the objects at
// the start were read, cliffs as a darker line, the players' buildings in
// their colours and gold, stone and relics as small marks above them; and
// each player's start as a square in the player's colour. Given the game's
// play, the buildings each player placed are marked in its colour too, walls
// from end to end. Outside the diamond the picture is transparent.
Picture drawMinimap(const GameEntry& entry, int32_t size, const GamePlay* play = nullptr);

}  // namespace morvane
