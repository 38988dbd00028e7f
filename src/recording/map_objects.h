// What stood on the map when the game started, as the header's game data
// holds it: the resources and cliffs Gaia owns and the players' buildings.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// A point on the map, in tiles: x along a row of tiles, y across the rows.
struct MapPoint {
  float x = 0;
  float y = 0;
};

struct PlacedBuilding {
  int32_t player = 0;  // the owner's player number
  MapPoint at;
  bool townCentre = false;  // the annexes beside a town centre are not one
  uint32_t objectId = 0;    // as the body's commands name it
};

struct MapObjects {
  // The lists were walked for Gaia and every player; otherwise why not.
  bool read = false;
  std::string notRead;
  std::vector<MapPoint> gold;
  std::vector<MapPoint> stone;
  std::vector<MapPoint> relics;
  std::vector<MapPoint> cliffs;
  std::vector<PlacedBuilding> buildings;
};

}  // namespace morvane
