#include "objects_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace morvane::inspect {
namespace {

// The tile a point stands on.
std::array<int64_t, 2> tileOf(const MapPoint& p) {
  return {static_cast<int64_t>(std::floor(p.x)), static_cast<int64_t>(std::floor(p.y))};
}

std::string tileJson(const std::array<int64_t, 2>& tile) {
  return "[" + std::to_string(tile[0]) + "," + std::to_string(tile[1]) + "]";
}

std::string kindJson(const std::vector<MapPoint>& points, bool withTiles) {
  JsonLine kind;
  kind.number("count", static_cast<int64_t>(points.size()));
  if (withTiles) {
    std::vector<std::array<int64_t, 2>> tiles;
    for (const MapPoint& p : points) tiles.push_back(tileOf(p));
    std::sort(tiles.begin(), tiles.end());
    std::vector<std::string> items;
    for (const auto& tile : tiles) items.push_back(tileJson(tile));
    kind.raw("tiles", jsonArray(items));
  }
  return kind.str();
}

}  // namespace

void addObjects(JsonLine& line, const GameFacts& facts) {
  const MapObjects& objects = facts.objects;
  JsonLine json;
  json.boolean("read", objects.read);
  if (!objects.notRead.empty()) json.string("notRead", objects.notRead);
  if (objects.read) {
    json.raw("gold", kindJson(objects.gold, true));
    json.raw("stone", kindJson(objects.stone, true));
    json.raw("relics", kindJson(objects.relics, true));
    json.raw("cliffs", kindJson(objects.cliffs, false));
  }
  line.raw("objects", json.str());
  JsonLine starts;
  for (const auto& [number, point] : facts.startPositions)
    starts.raw(std::to_string(number), tileJson(tileOf(point)));
  line.raw("startPositions", starts.str());
}

}  // namespace morvane::inspect
