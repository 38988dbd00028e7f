// Terrain, elevation and starting views for the demo folder's games, laid
// out the way the game's random maps look, so the demo's minimaps show
// something a player would recognise. Always the same bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "recording_writer/header_builder.h"

namespace morvane::demo {

struct DemoMap {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> terrain;  // row by row, x fastest
  std::vector<uint8_t> elevation;
  std::vector<fixtures::Camera> starts;  // one per player, in list order
};

// Open grassland with patches of dirt and desert, woods and hills; the
// players spread on a ring.
DemoMap openLand(int32_t size, int players);
// Forest everywhere but a clearing around each start and a few paths.
DemoMap forest(int32_t size, int players);
// One island per player in deep water, with a beach, woods and a hill.
DemoMap islands(int32_t size, int players);

}  // namespace morvane::demo
