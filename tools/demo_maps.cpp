#include "demo_maps.h"

#include <algorithm>
#include <cmath>

namespace morvane::demo {
namespace {

// Terrain ids of The Conquerors.
constexpr uint8_t kGrass = 0;
constexpr uint8_t kWater = 1;
constexpr uint8_t kBeach = 2;
constexpr uint8_t kDirt = 6;
constexpr uint8_t kForest = 10;
constexpr uint8_t kDesert = 14;
constexpr uint8_t kShallows = 4;
constexpr uint8_t kPineForest = 19;
constexpr uint8_t kDeepWater = 22;
constexpr uint8_t kGrassLeaves = 5;

constexpr double kPi = 3.14159265358979323846;

// A value in [0, 1) for each lattice point, the same on every run.
double lattice(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
               seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return static_cast<double>(h & 0xFFFFFF) / 16777216.0;
}

// Smooth noise in [0, 1): the lattice every cell tiles, blended between.
double noise(double x, double y, double cell, uint32_t seed) {
  const double gx = x / cell;
  const double gy = y / cell;
  const auto x0 = static_cast<int32_t>(std::floor(gx));
  const auto y0 = static_cast<int32_t>(std::floor(gy));
  const double fx = gx - x0;
  const double fy = gy - y0;
  const double sx = fx * fx * (3 - 2 * fx);
  const double sy = fy * fy * (3 - 2 * fy);
  const double top = lattice(x0, y0, seed) * (1 - sx) + lattice(x0 + 1, y0, seed) * sx;
  const double bottom = lattice(x0, y0 + 1, seed) * (1 - sx) + lattice(x0 + 1, y0 + 1, seed) * sx;
  return top * (1 - sy) + bottom * sy;
}

// Two octaves, for edges that are neither straight nor speckled.
double ground(double x, double y, double cell, uint32_t seed) {
  return 0.7 * noise(x, y, cell, seed) + 0.3 * noise(x, y, cell / 3, seed + 1);
}

std::vector<fixtures::Camera> ring(int32_t size, int players, double radius) {
  std::vector<fixtures::Camera> starts;
  const double centre = size / 2.0;
  for (int k = 0; k < players; ++k) {
    const double angle = 2 * kPi * k / players + kPi / 4;
    starts.push_back({static_cast<float>(std::round(centre + radius * size * std::cos(angle))),
                      static_cast<float>(std::round(centre + radius * size * std::sin(angle)))});
  }
  return starts;
}

double nearestStart(const DemoMap& map, double x, double y) {
  double nearest = 1e9;
  for (const fixtures::Camera& s : map.starts)
    nearest = std::min(nearest, std::hypot(x - s.x, y - s.y));
  return nearest;
}

DemoMap blank(int32_t size, int players, double radius) {
  DemoMap map;
  map.width = map.height = size;
  map.starts = ring(size, players, radius);
  map.terrain.reserve(static_cast<std::size_t>(size) * size);
  map.elevation.reserve(static_cast<std::size_t>(size) * size);
  return map;
}

// Hills from noise, flattened where a town would stand.
uint8_t hill(double x, double y, double clearing, uint32_t seed) {
  const double lift = ground(x, y, 18, seed) - 0.45;
  if (lift <= 0 || clearing < 9) return 0;
  return static_cast<uint8_t>(std::min(6.0, lift * 14));
}

}  // namespace

DemoMap openLand(int32_t size, int players) {
  DemoMap map = blank(size, players, 0.36);
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      const double clearing = nearestStart(map, x, y);
      const double soil = ground(x, y, 14, 11);
      const double wood = ground(x, y, 10, 12);
      uint8_t terrain = kGrass;
      if (soil > 0.62) terrain = kDirt;
      if (soil > 0.72) terrain = kDesert;
      if (wood > 0.7 && clearing > 8) terrain = kForest;
      if (x < 2 || y < 2 || x >= size - 2 || y >= size - 2) terrain = kForest;
      map.terrain.push_back(terrain);
      map.elevation.push_back(hill(x, y, clearing, 13));
    }
  }
  return map;
}

DemoMap forest(int32_t size, int players) {
  DemoMap map = blank(size, players, 0.3);
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      const double clearing = nearestStart(map, x, y) + 6 * ground(x, y, 6, 21);
      const double path = std::fabs(ground(x, y, 24, 22) - 0.5);
      uint8_t terrain = kForest;
      if (clearing < 16 || path < 0.025) terrain = kGrass;
      if (clearing < 16 && ground(x, y, 5, 23) > 0.7) terrain = kGrassLeaves;
      if (terrain == kForest && ground(x, y, 12, 24) > 0.6) terrain = kPineForest;
      map.terrain.push_back(terrain);
      map.elevation.push_back(hill(x, y, clearing, 25));
    }
  }
  return map;
}

DemoMap islands(int32_t size, int players) {
  DemoMap map = blank(size, players, 0.33);
  const double radius = size / (players > 4 ? 9.0 : 6.0);
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      const double centre = nearestStart(map, x, y);
      // Coast: the island's radius, pushed in and out by noise.
      const double coast = centre - radius * (0.8 + 0.5 * ground(x, y, 9, 31));
      uint8_t terrain = kDeepWater;
      if (coast < 9) terrain = kWater;
      if (coast < 3) terrain = kShallows;
      if (coast < 1.5) terrain = kBeach;
      if (coast < 0) terrain = ground(x, y, 7, 32) > 0.62 && centre > 7 ? kForest : kGrass;
      map.terrain.push_back(terrain);
      map.elevation.push_back(coast < -3 ? hill(x, y, centre, 33) : 0);
    }
  }
  return map;
}

}  // namespace morvane::demo
