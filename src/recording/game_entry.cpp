#include "recording/game_entry.h"

namespace morvane {

TerrainTiles::TerrainTiles(const TerrainTiles& other)
    : bytes_(other.bytes_ ? std::make_unique<Block>(*other.bytes_) : nullptr) {}

TerrainTiles& TerrainTiles::operator=(const TerrainTiles& other) {
  if (this == &other) return *this;
  if (!other.bytes_) {
    bytes_.reset();
  } else if (bytes_) {
    *bytes_ = *other.bytes_;
  } else {
    bytes_ = std::make_unique<Block>(*other.bytes_);
  }
  return *this;
}

TerrainTiles::Block& TerrainTiles::writable() {
  if (!bytes_) bytes_ = std::make_unique<Block>(Block{});
  return *bytes_;
}

void TerrainTiles::fill(uint8_t value) { writable().fill(value); }

void TerrainTiles::set(std::size_t index, uint8_t value) { writable()[index] = value; }

}  // namespace morvane
