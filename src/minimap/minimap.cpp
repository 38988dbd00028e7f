// Each pixel of the picture looks up the one tile under its centre, so the
// cost follows the picture's size, not the map's, and every write lands on a
// pixel the loops stand on.
#include "minimap/minimap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "library/player_colours.h"
#include "minimap/terrain_colours.h"

namespace morvane {
namespace {

constexpr uint8_t kOpaque = 255;
constexpr Rgb kOutline = {0, 0, 0};
constexpr std::size_t kTerrainIds = 256;

// Every terrain id's colour on each slope, looked up once a picture rather
// than once a pixel.
using Palette = std::array<std::array<Rgb, 3>, kTerrainIds>;

Palette makePalette() {
  Palette palette;
  for (std::size_t id = 0; id < kTerrainIds; ++id) {
    for (const Slope slope : {Slope::kDown, Slope::kFlat, Slope::kUp})
      palette[id][static_cast<std::size_t>(slope)] = terrainColour(static_cast<uint8_t>(id), slope);
  }
  return palette;
}

// The map's size in tiles and the bytes the entry holds of it (null: all zero).
struct MapTiles {
  const uint8_t* terrain;
  const uint8_t* elevation;
  int64_t width;
  int64_t height;
};

uint8_t byteAt(const uint8_t* bytes, int64_t index) { return bytes == nullptr ? 0 : bytes[index]; }

Rgb tileColour(const MapTiles& map, const Palette& palette, int64_t x, int64_t y) {
  constexpr auto kHeld = static_cast<int64_t>(TerrainTiles::kSize);
  const int64_t index = y * map.width + x;
  if (index >= kHeld) return kUnknownTerrainColour;
  Slope slope = Slope::kFlat;
  const int64_t next = index + map.width + 1;  // one column and one row on
  if (x + 1 < map.width && y + 1 < map.height && next < kHeld) {
    const uint8_t here = byteAt(map.elevation, index);
    const uint8_t there = byteAt(map.elevation, next);
    if (there < here) slope = Slope::kDown;
    if (there > here) slope = Slope::kUp;
  }
  return palette[byteAt(map.terrain, index)][static_cast<std::size_t>(slope)];
}

void put(Picture& picture, int32_t px, int32_t py, Rgb colour) {
  const std::size_t at = (static_cast<std::size_t>(py) * static_cast<std::size_t>(picture.width) +
                          static_cast<std::size_t>(px)) *
                         4;
  picture.rgba[at] = colour.red;
  picture.rgba[at + 1] = colour.green;
  picture.rgba[at + 2] = colour.blue;
  picture.rgba[at + 3] = kOpaque;
}

// u along x, v along y, each 0..1 over the map; a and b the picture's
// position in half widths and half heights.
struct Diamond {
  double halfWidth;
  double halfHeight;

  double u(double a, double b) const { return (a - b + 1) / 2; }
  double v(double a, double b) const { return (a + b - 1) / 2; }
  double px(double u, double v) const { return (u + v) * halfWidth; }
  double py(double u, double v) const { return (1 - u + v) * halfHeight; }
};

void drawTerrain(const MapTiles& map, const Diamond& diamond, Picture& picture) {
  const Palette palette = makePalette();
  // a at each column's centre, the same for every row.
  std::vector<double> columnA(static_cast<std::size_t>(picture.width));
  for (int32_t px = 0; px < picture.width; ++px)
    columnA[static_cast<std::size_t>(px)] = (px + 0.5) / diamond.halfWidth;
  const auto width = static_cast<double>(map.width);
  const auto height = static_cast<double>(map.height);
  for (int32_t py = 0; py < picture.height; ++py) {
    const double b = (py + 0.5) / diamond.halfHeight;
    // The row meets the diamond where |1 - b| <= a < 2 - |1 - b|; a pixel
    // more each side, as the test below decides.
    const double edge = std::fabs(1 - b) * diamond.halfWidth;
    const int32_t first = std::max(0, static_cast<int32_t>(edge) - 2);
    const int32_t last =
        std::min(picture.width, static_cast<int32_t>(2 * diamond.halfWidth - edge) + 2);
    for (int32_t px = first; px < last; ++px) {
      const double a = columnA[static_cast<std::size_t>(px)];
      const double u = diamond.u(a, b);
      const double v = diamond.v(a, b);
      if (u < 0 || u >= 1 || v < 0 || v >= 1) continue;
      // u < 1, so the products stay below the map's size.
      const auto x = static_cast<int64_t>(u * width);
      const auto y = static_cast<int64_t>(v * height);
      put(picture, px, py, tileColour(map, palette, x, y));
    }
  }
}

// A square of 2 * half + 1 pixels around the pixel under centre, outlined,
// cut to the picture. A centre far outside (or not a number) draws nothing.
void drawSquare(Picture& picture, double centreX, double centreY, int32_t half, Rgb colour) {
  const auto inReach = [half](double centre, int32_t extent) {
    return centre >= -half && centre < static_cast<double>(extent) + half;  // false for NaN
  };
  if (!inReach(centreX, picture.width) || !inReach(centreY, picture.height)) return;
  const auto cx = static_cast<int32_t>(std::floor(centreX));
  const auto cy = static_cast<int32_t>(std::floor(centreY));
  for (int32_t py = std::max(cy - half, 0); py <= std::min(cy + half, picture.height - 1); ++py) {
    for (int32_t px = std::max(cx - half, 0); px <= std::min(cx + half, picture.width - 1); ++px) {
      const bool edge = px == cx - half || px == cx + half || py == cy - half || py == cy + half;
      put(picture, px, py, edge ? kOutline : colour);
    }
  }
}

// The game's minimap colours for what Gaia holds.
constexpr Rgb kGoldColour = {0xFF, 0xD7, 0x00};
constexpr Rgb kStoneColour = {0xA8, 0xA8, 0xA8};
constexpr Rgb kRelicColour = {0xFF, 0xFF, 0xFF};

// The pixel under a map point, or false when it lies outside the picture.
bool pixelOf(const Diamond& diamond, const MapTiles& map, const MapPoint& point,
             const Picture& picture, int32_t& px, int32_t& py) {
  const double u = point.x / static_cast<double>(map.width);
  const double v = point.y / static_cast<double>(map.height);
  const double x = std::floor(diamond.px(u, v));
  const double y = std::floor(diamond.py(u, v));
  if (!(x >= 0 && x < picture.width && y >= 0 && y < picture.height)) return false;  // NaN too
  px = static_cast<int32_t>(x);
  py = static_cast<int32_t>(y);
  return true;
}

// A filled square of 2 * half + 1 pixels around each point, cut to the picture.
void drawMarks(const std::vector<MapPoint>& points, const Diamond& diamond, const MapTiles& map,
               int32_t half, Rgb colour, Picture& picture) {
  for (const MapPoint& point : points) {
    int32_t cx = 0, cy = 0;
    if (!pixelOf(diamond, map, point, picture, cx, cy)) continue;
    for (int32_t py = std::max(cy - half, 0); py <= std::min(cy + half, picture.height - 1); ++py)
      for (int32_t px = std::max(cx - half, 0); px <= std::min(cx + half, picture.width - 1); ++px)
        put(picture, px, py, colour);
  }
}

// Cliffs stand tile beside tile: each darkens the pixels under it, so
// together they draw a darker line across the terrain.
void drawCliffs(const std::vector<MapPoint>& cliffs, const Diamond& diamond, const MapTiles& map,
                int32_t half, Picture& picture) {
  for (const MapPoint& point : cliffs) {
    int32_t cx = 0, cy = 0;
    if (!pixelOf(diamond, map, point, picture, cx, cy)) continue;
    for (int32_t py = std::max(cy - half, 0); py <= std::min(cy + half, picture.height - 1); ++py) {
      for (int32_t px = std::max(cx - half, 0); px <= std::min(cx + half, picture.width - 1);
           ++px) {
        const std::size_t at =
            (static_cast<std::size_t>(py) * static_cast<std::size_t>(picture.width) +
             static_cast<std::size_t>(px)) *
            4;
        for (std::size_t c = 0; c < 3; ++c)
          picture.rgba[at + c] = static_cast<uint8_t>(picture.rgba[at + c] / 2);
      }
    }
  }
}

// Cliffs under the buildings, the buildings under the resources, relics on top.
void drawObjects(const GameEntry& entry, const MapObjects& objects, const Diamond& diamond,
                 const MapTiles& map, Picture& picture) {
  const int32_t half = std::max(1, picture.width / 256);
  drawCliffs(objects.cliffs, diamond, map, picture.width / 512, picture);
  for (const PlacedBuilding& building : objects.buildings) {
    if (building.player < 1 || building.player >= static_cast<int32_t>(PlayerSlots::kCount))
      continue;
    const Rgb colour = slotColour(
        slotColourIndexOf(entry.slots[static_cast<std::size_t>(building.player)].colourId));
    drawMarks({building.at}, diamond, map, half, colour, picture);
  }
  drawMarks(objects.gold, diamond, map, half, kGoldColour, picture);
  drawMarks(objects.stone, diamond, map, half, kStoneColour, picture);
  drawMarks(objects.relics, diamond, map, half, kRelicColour, picture);
}

// The tiles a wall covers from end to end, a mark on each; a wall's ends lie
// on the map, so no more steps than the map is across (a crafted one is cut).
std::vector<MapPoint> wallTiles(const MapPoint& from, const MapPoint& to, const MapTiles& map) {
  const double span = std::max(std::fabs(static_cast<double>(to.x) - from.x),
                               std::fabs(static_cast<double>(to.y) - from.y));
  const double most = static_cast<double>(map.width) + static_cast<double>(map.height);
  if (!(span >= 1)) return {from, to};  // NaN too
  const auto steps = static_cast<int32_t>(std::min(std::ceil(span), most));
  std::vector<MapPoint> tiles;
  for (int32_t k = 0; k <= steps; ++k) {
    const double t = static_cast<double>(k) / steps;
    tiles.push_back({static_cast<float>(from.x + (to.x - from.x) * t),
                     static_cast<float>(from.y + (to.y - from.y) * t)});
  }
  return tiles;
}

// The buildings the players placed during the game, over what the map held
// at the start.
void drawPlacedBuildings(const GameEntry& entry, const GamePlay& play, const Diamond& diamond,
                         const MapTiles& map, Picture& picture) {
  const int32_t half = std::max(1, picture.width / 256);
  for (const auto& [number, player] : play.players) {
    if (number < 1 || number >= static_cast<int32_t>(PlayerSlots::kCount)) continue;
    const Rgb colour =
        slotColour(slotColourIndexOf(entry.slots[static_cast<std::size_t>(number)].colourId));
    for (const BuildOrder& building : player.buildings) {
      drawMarks(building.to ? wallTiles(building.at, *building.to, map)
                            : std::vector<MapPoint>{building.at},
                diamond, map, half, colour, picture);
    }
  }
}

}  // namespace

Picture drawMinimap(const GameEntry& entry, int32_t size, const GamePlay* play) {
  size = std::clamp(size, kMinimapMinSize, kMinimapMaxSize);
  Picture picture;
  picture.width = size;
  picture.height = size / 2;
  picture.rgba.assign(static_cast<std::size_t>(picture.width) * picture.height * 4, 0);
  if (entry.mapWidth <= 0 || entry.mapHeight <= 0) return picture;

  const MapTiles map{entry.mapTiles.terrainIdData(), entry.mapTiles.elevationData(), entry.mapWidth,
                     entry.mapHeight};
  const Diamond diamond{picture.width / 2.0, picture.height / 2.0};
  drawTerrain(map, diamond, picture);

  const GameFacts& facts = entry.facts.read();
  drawObjects(entry, facts.objects, diamond, map, picture);
  if (play != nullptr) drawPlacedBuildings(entry, *play, diamond, map, picture);

  const int32_t half = std::max(2, size / 64);
  for (std::size_t number = 1; number < PlayerSlots::kCount; ++number) {
    const PlayerSlot& slot = entry.slots[number];
    // The town centre where the objects were read, else the block's start.
    const auto known = facts.startPositions.find(static_cast<int32_t>(number));
    const std::optional<MapPoint> start =
        known != facts.startPositions.end() ? std::optional<MapPoint>(known->second) : slot.start;
    if (!start) continue;
    const double u = start->x / static_cast<double>(map.width);
    const double v = start->y / static_cast<double>(map.height);
    drawSquare(picture, diamond.px(u, v), diamond.py(u, v), half,
               slotColour(slotColourIndexOf(slot.colourId)));
  }
  return picture;
}

}  // namespace morvane
