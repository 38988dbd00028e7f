// The value record behind one list row: a sub-folder or a recorded game.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace morvane {

// Per-player block of a GameEntry, indexed by player number.
struct PlayerSlot {
  char name[256] = {};  // NUL-terminated, zero-padded header bytes
  int32_t civId = 0;
  int32_t colourId = 0;
};

// Last-write time broken down in UTC, in the order of a Win32 SYSTEMTIME.
struct EntryTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t dayOfWeek = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

// Terrain bytes of a map (room for 240 x 240 tiles). A folder of tens of
// thousands of unparsed rows must not pay 57,600 bytes each, so the buffer is
// allocated on the first write and reads as zeros until then. Copies are deep.
class TerrainTiles {
 public:
  static constexpr std::size_t kSize = 57600;

  TerrainTiles() = default;
  TerrainTiles(const TerrainTiles& other);
  TerrainTiles& operator=(const TerrainTiles& other);
  TerrainTiles(TerrainTiles&&) noexcept = default;
  TerrainTiles& operator=(TerrainTiles&&) noexcept = default;

  uint8_t operator[](std::size_t index) const { return bytes_ ? (*bytes_)[index] : 0; }
  void fill(uint8_t value);
  void set(std::size_t index, uint8_t value);
  // Null while nothing has been written (all zeros).
  const uint8_t* data() const { return bytes_ ? bytes_->data() : nullptr; }
  bool allocated() const { return bytes_ != nullptr; }

 private:
  using Block = std::array<uint8_t, kSize>;
  Block& writable();
  std::unique_ptr<Block> bytes_;
};

struct GameEntry {
  static constexpr uint32_t kFolderAttribute = 0x10;
  static constexpr int kPositions = 9;

  std::string fileName;
  uint32_t attributes = 0;
  EntryTime modified;
  int32_t iconIndex = 0;
  std::string mapName;  // empty until the game has been parsed
  int32_t mapWidth = 0;
  int32_t mapHeight = 0;
  TerrainTiles mapTiles;
  int32_t povIndex = 0;
  int32_t playerCount = 0;
  std::array<int32_t, kPositions> playerNumbers = {};
  std::array<PlayerSlot, kPositions> slots = {};
  std::array<std::string, kPositions> teamLabels;
  std::array<std::string, kPositions> playerNames;
  std::string povName;
  std::string lobbyChat;
  std::string gameChat;

  bool isFolder() const { return (attributes & kFolderAttribute) != 0; }
  bool isParsed() const { return !mapName.empty(); }
};

}  // namespace morvane
