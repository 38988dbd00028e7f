// The minimap of a written game: where each tile and each starting view
// lands on the picture and in which colour, and pictures of entries no parse
// would give, which stay inside the picture.
#include "minimap/minimap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "recording_writer/recording_writer.h"
#include "support/parse_recording.h"

namespace morvane {
namespace {

struct Pixel {
  int32_t x;
  int32_t y;
};

struct Rgba {
  int red;
  int green;
  int blue;
  int alpha;
  bool operator==(const Rgba& other) const {
    return red == other.red && green == other.green && blue == other.blue && alpha == other.alpha;
  }
};

std::ostream& operator<<(std::ostream& out, const Rgba& c) {
  return out << "(" << c.red << ", " << c.green << ", " << c.blue << ", " << c.alpha << ")";
}

Rgba at(const Picture& picture, Pixel pixel) {
  const auto i = (static_cast<std::size_t>(pixel.y) * picture.width + pixel.x) * 4;
  return {picture.rgba[i], picture.rgba[i + 1], picture.rgba[i + 2], picture.rgba[i + 3]};
}

constexpr Rgba kTransparent = {0, 0, 0, 0};
constexpr Rgba kWater = {0x30, 0x5D, 0xB6, 255};
constexpr Rgba kDesert = {0xE8, 0xB4, 0x78, 255};
constexpr Rgba kForest = {0x15, 0x76, 0x15, 255};
constexpr Rgba kIce = {0x98, 0xC0, 0xF0, 255};
constexpr Rgba kGrass = {0x33, 0x97, 0x27, 255};
constexpr Rgba kGrassSlopingDown = {0x00, 0xA9, 0x00, 255};
constexpr Rgba kGrassSlopingUp = {0x00, 0x8D, 0x00, 255};
constexpr Rgba kUnknown = {0x80, 0x80, 0x80, 255};
constexpr Rgba kBlue = {0, 0, 192, 255};
constexpr Rgba kYellow = {192, 192, 0, 255};
constexpr Rgba kOutline = {0, 0, 0, 255};
constexpr Rgba kGold = {0xFF, 0xD7, 0x00, 255};
constexpr Rgba kStone = {0xA8, 0xA8, 0xA8, 255};
constexpr Rgba kRelic = {0xFF, 0xFF, 0xFF, 255};
constexpr Rgba kGrassUnderCliff = {0x33 / 2, 0x97 / 2, 0x27 / 2, 255};

// 40 x 40 tiles of grass with a 6 x 6 patch in each corner (water at tile
// (0, 0), desert where x is high, forest where y is high, ice where both
// are) and a plateau two steps high over tiles 16..23 both ways. Blue starts
// at (30.5, 10.5), yellow at (5.5, 30.5). Gaia's gold at (12.5, 20.5) and,
// under a relic, at (10.5, 20.5), stone at (20.5, 30.5), a cliff at
// (25.5, 5.5); a yellow building at (8.5, 12.5).
fixtures::SampleGame cornersGame() {
  fixtures::SampleGame game = fixtures::twoPlayerGame();
  game.layout = fixtures::conquerorsLayout();
  game.width = 40;
  game.height = 40;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool highX = x >= 34, highY = y >= 34;
      uint8_t terrain = 0;
      if (x < 6 && y < 6) terrain = 1;
      if (highX && y < 6) terrain = 14;
      if (x < 6 && highY) terrain = 10;
      if (highX && highY) terrain = 26;
      game.terrain.push_back(terrain);
      game.elevation.push_back(x >= 16 && x <= 23 && y >= 16 && y <= 23 ? 2 : 0);
    }
  }
  game.players[0].colour = 0;
  game.players[0].camera = {30.5f, 10.5f};
  game.players[1].colour = 3;
  game.players[1].camera = {5.5f, 30.5f};
  using fixtures::StartObject;
  game.playerCount = 3;  // the players and Gaia, each a block with its lists
  game.objects = {
      {StartObject{10, 66, 10.5f, 20.5f}, StartObject{70, 285, 10.5f, 20.5f},
       StartObject{10, 66, 12.5f, 20.5f}, StartObject{10, 102, 20.5f, 30.5f},
       StartObject{10, 264, 25.5f, 5.5f, true}},
      {StartObject{70, 83, 30.5f, 12.5f}},
      {StartObject{80, 70, 8.5f, 12.5f}},
  };
  return game;
}

// The 256-pixel picture is 128 high: tile (0, 0) at the left corner, x
// running up to the top corner, y down to the bottom one, each tile in its
// terrain's colour, lighter where the ground falls towards the next tile to
// the right and darker where it rises; each start a square of 9 pixels a
// side, outlined, centred on its camera; gold, stone, relics and buildings
// marks of 3 pixels a side, relics over gold, and a cliff darkening the
// pixel under it.
TEST(MinimapTest, TilesAndStartsLandWhereTheGameShowsThem) {
  const fixtures::ParsedRecording parsed = fixtures::parseSampleGame(cornersGame(), true);
  ASSERT_TRUE(parsed.loaded);
  const Picture picture = drawMinimap(parsed.entry, 256);
  ASSERT_EQ(picture.width, 256);
  ASSERT_EQ(picture.height, 128);
  ASSERT_EQ(picture.rgba.size(), 256u * 128u * 4u);
  const struct {
    const char* what;
    Pixel pixel;
    Rgba colour;
  } cases[] = {
      {"outside the diamond, top left", {0, 0}, kTransparent},
      {"outside the diamond, bottom right", {255, 127}, kTransparent},
      {"left corner: tile (0, 0)", {4, 64}, kWater},
      {"top corner: x high, y low", {128, 3}, kDesert},
      {"bottom corner: x low, y high", {128, 124}, kForest},
      {"right corner: both high", {251, 64}, kIce},
      {"plateau, flat on top", {128, 64}, kGrass},
      {"plateau's last tile, the ground falls after it", {150, 64}, kGrassSlopingDown},
      {"tile before the plateau, the ground rises after it", {99, 64}, kGrassSlopingUp},
      {"grass beside the corners", {64, 40}, kGrass},
      {"blue start: x 30.5, y 10.5", {131, 32}, kBlue},
      {"blue start, inside its square", {134, 35}, kBlue},
      {"blue start, its outline", {127, 32}, kOutline},
      {"blue start, outside its square", {126, 32}, kGrass},
      {"yellow start: x 5.5, y 30.5", {115, 104}, kYellow},
      {"yellow start, its outline", {115, 108}, kOutline},
      {"gold: x 12.5, y 20.5", {105, 76}, kGold},
      {"gold, its mark's corner", {106, 77}, kGold},
      {"relic above gold: x 10.5, y 20.5", {99, 80}, kRelic},
      {"stone: x 20.5, y 30.5", {163, 80}, kStone},
      {"cliff: x 25.5, y 5.5", {99, 32}, kGrassUnderCliff},
      {"beside the cliff", {100, 32}, kGrass},
      {"yellow building: x 8.5, y 12.5", {67, 70}, kYellow},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(at(picture, c.pixel), c.colour) << c.what << " at " << c.pixel.x << ", " << c.pixel.y;
  }
  // With the play: blue's house at (28.5, 24.5) and its wall from (4.5, 14.5)
  // to (4.5, 20.5), marked on the grass, the wall's middle too; a player the
  // game has no slot for draws nothing.
  GamePlay play;
  play.players[1].buildings = {{60000, 70, {28.5f, 24.5f}, std::nullopt},
                               {90000, 72, {4.5f, 14.5f}, MapPoint{4.5f, 20.5f}}};
  play.players[9].buildings = {{60000, 70, {12.5f, 3.5f}, std::nullopt}};
  const Picture played = drawMinimap(parsed.entry, 256, &play);
  const struct {
    const char* what;
    Pixel pixel;
  } placed[] = {{"house", {169, 57}}, {"wall's far end", {80, 89}}, {"wall's middle", {70, 84}}};
  for (const auto& c : placed) {
    EXPECT_EQ(at(picture, c.pixel), kGrass) << c.what << " before";
    EXPECT_EQ(at(played, c.pixel), kBlue) << c.what;
  }
  EXPECT_EQ(at(played, {51, 49}), kGrass);
}

// Entries no parse of a good header gives: each is drawn to the picture's
// bounds, with the one outcome the drawing promises for it.
TEST(MinimapTest, HostileEntriesStayInsideThePicture) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinity = std::numeric_limits<float>::infinity();
  GameEntry good;
  good.mapWidth = 40;
  good.mapHeight = 40;
  good.mapTiles.fill(0);
  const struct {
    const char* what;
    int32_t width;
    int32_t height;
    uint8_t terrain;
    MapPoint start;
    int32_t size;
    int32_t pictureWidth;
    Pixel pixel;
    Rgba colour;
  } cases[] = {
      {"terrain id the game does not have", 40, 40, 255, {nan, 0}, 256, 256, {128, 64}, kUnknown},
      {"no map", 0, 0, 0, {1, 1}, 256, 256, {128, 64}, kTransparent},
      {"negative size", -40, 40, 0, {1, 1}, 256, 256, {128, 64}, kTransparent},
      {"more tiles than an entry holds: the far rows",
       300,
       300,
       0,
       {nan, 0},
       256,
       256,
       {128, 124},
       kUnknown},
      {"more tiles than an entry holds: the first rows",
       300,
       300,
       0,
       {nan, 0},
       256,
       256,
       {4, 64},
       kGrass},
      {"one row of two billion tiles", 2000000000, 1, 0, {nan, 0}, 256, 256, {128, 64}, kUnknown},
      {"start not a number", 40, 40, 0, {nan, nan}, 256, 256, {128, 64}, kGrass},
      {"start infinitely far", 40, 40, 0, {infinity, -infinity}, 256, 256, {255, 0}, kTransparent},
      {"start far outside", 40, 40, 0, {3e38f, 3e38f}, 256, 256, {255, 64}, kTransparent},
      {"start on the map's right corner, cut at the picture's edge",
       40,
       40,
       0,
       {40, 40},
       256,
       256,
       {255, 64},
       kBlue},
      {"start past the left corner, cut", 40, 40, 0, {-0.2f, -0.2f}, 256, 256, {0, 64}, kBlue},
      {"picture too small: the smallest", 40, 40, 0, {nan, 0}, 0, kMinimapMinSize, {4, 2}, kGrass},
      {"picture too large: the largest",
       40,
       40,
       0,
       {nan, 0},
       100000,
       kMinimapMaxSize,
       {2048, 1024},
       kGrass},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GameEntry entry = good;
    entry.mapWidth = c.width;
    entry.mapHeight = c.height;
    entry.mapTiles.fill(c.terrain);
    entry.slots[1].colourId = 0;
    entry.slots[1].start = c.start;
    const Picture picture = drawMinimap(entry, c.size);
    ASSERT_EQ(picture.width, c.pictureWidth);
    ASSERT_EQ(picture.height, c.pictureWidth / 2);
    ASSERT_EQ(picture.rgba.size(), static_cast<std::size_t>(picture.width) * picture.height * 4);
    EXPECT_EQ(at(picture, c.pixel), c.colour);
  }
}

}  // namespace
}  // namespace morvane
