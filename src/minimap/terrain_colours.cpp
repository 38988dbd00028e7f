// Colours from the terrain table of RecAnalyst (goto-bus-stop/recanalyst,
// resources/data/ageofempires/colors.php at commit 1a03234aa0d7, generated
// from the game's data): for each terrain id 0..99 a colour for a downward
// slope, flat ground and an upward slope, in that order.
#include "minimap/terrain_colours.h"

#include <array>

namespace morvane {
namespace {

struct Shades {
  Rgb down;
  Rgb flat;
  Rgb up;
};

enum Kind : uint8_t {
  kGrass,
  kWater,
  kBeach,
  kDirt,
  kShallows,
  kFarm,
  kForest,
  kDeepWater,
  kMediumWater,
  kIce,
  kFungusRoad,
  kBlack,
  kAzureWater,
  kKinds,
};

constexpr Shades kShades[kKinds] = {
    {{0x00, 0xA9, 0x00}, {0x33, 0x97, 0x27}, {0x00, 0x8D, 0x00}},  // grass
    {{0x30, 0x5D, 0xB6}, {0x30, 0x5D, 0xB6}, {0x30, 0x5D, 0xB6}},  // water
    {{0xF8, 0xC9, 0x8A}, {0xE8, 0xB4, 0x78}, {0xBD, 0x96, 0x6F}},  // beach, desert
    {{0xF3, 0xAA, 0x5C}, {0xE4, 0xA2, 0x52}, {0xDA, 0x9C, 0x69}},  // dirt, road
    {{0x54, 0x92, 0xB0}, {0x54, 0x92, 0xB0}, {0x54, 0x92, 0xB0}},  // shallows
    {{0x8A, 0x8B, 0x57}, {0x82, 0x88, 0x4D}, {0x76, 0x82, 0x41}},  // farm
    {{0x25, 0x74, 0x39}, {0x15, 0x76, 0x15}, {0x00, 0x72, 0x00}},  // forest
    {{0x00, 0x4A, 0xA1}, {0x00, 0x4A, 0xA1}, {0x00, 0x4A, 0xA1}},  // deep water
    {{0x00, 0x4A, 0xBB}, {0x00, 0x4A, 0xBB}, {0x00, 0x4A, 0xBB}},  // medium water
    {{0x98, 0xC0, 0xF0}, {0x98, 0xC0, 0xF0}, {0x98, 0xC0, 0xF0}},  // ice
    {{0xF3, 0xAA, 0x5C}, {0xE4, 0xA2, 0x52}, {0xBD, 0xD1, 0xFD}},  // id 39, as the table has it
    {{0x1C, 0x1C, 0x1C}, {0x1C, 0x1C, 0x1C}, {0x1C, 0x1C, 0x1C}},  // black
    {{0x00, 0x54, 0xB0}, {0x00, 0x54, 0xB0}, {0x00, 0x54, 0xB0}},  // id 58
};

// Each terrain id's kind, ids 0..99.
constexpr std::array<Kind, 100> kKindOfTerrain = {
    kGrass,  kWater,     kBeach,      kDirt,     kShallows, kGrass,    kDirt,      kFarm,
    kFarm,   kGrass,     kForest,     kDirt,     kGrass,    kForest,   kBeach,     kWater,
    kGrass,  kForest,    kForest,     kForest,   kForest,   kForest,   kDeepWater, kMediumWater,
    kDirt,   kDirt,      kIce,        kDirt,     kWater,    kFarm,     kFarm,      kFarm,
    kGrass,  kDirt,      kGrass,      kIce,      kDirt,     kIce,      kDirt,      kFungusRoad,
    kDirt,   kDirt,      kDirt,       kDirt,     kGrass,    kBeach,    kBeach,     kBlack,
    kForest, kForest,    kForest,     kBeach,    kBeach,    kBeach,    kShallows,  kForest,
    kForest, kDeepWater, kAzureWater, kShallows, kGrass,    kDirt,     kGrass,     kFarm,
    kFarm,   kFarm,      kFarm,       kFarm,     kGrass,    kGrass,    kGrass,     kGrass,
    kGrass,  kGrass,     kGrass,      kGrass,    kGrass,    kGrass,    kGrass,     kGrass,
    kGrass,  kGrass,     kGrass,      kGrass,    kGrass,    kGrass,    kGrass,     kGrass,
    kGrass,  kGrass,     kShallows,   kShallows, kShallows, kShallows, kShallows,  kWater,
    kWater,  kWater,     kWater,      kWater,
};

}  // namespace

Rgb terrainColour(uint8_t terrain, Slope slope) {
  if (terrain >= kKindOfTerrain.size()) return kUnknownTerrainColour;
  const Shades& shades = kShades[kKindOfTerrain[terrain]];
  switch (slope) {
    case Slope::kDown:
      return shades.down;
    case Slope::kUp:
      return shades.up;
    case Slope::kFlat:
      break;
  }
  return shades.flat;
}

}  // namespace morvane
