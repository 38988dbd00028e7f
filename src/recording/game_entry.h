// The value record behind one list row: a sub-folder or a recorded game.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/entry_time.h"
#include "platform/folder_listing.h"
#include "recording/game_facts.h"
#include "recording/map_objects.h"
#include "recording/zero_until_written.h"

namespace morvane {

// Per-player block of a GameEntry, indexed by player number.
struct PlayerSlot {
  char name[256] = {};  // NUL-terminated, zero-padded header bytes
  int32_t civId = 0;
  int32_t colourId = 0;
  // The player's initial camera, where a normal start puts the town centre;
  // none when the header holds no such point inside the map.
  std::optional<MapPoint> start;
};

// Last-write time as the folder listing reports it.
using platform::EntryTime;

// Terrain and elevation bytes of a map (room for 240 x 240 tiles, row by
// row). A folder of tens of thousands of unparsed rows must not pay for them,
// so the bytes exist once a parse writes them and read as zeros until then.
//
// The terrain bytes are the header's bytes at every other position from the
// terrain's start, the form every reader of this field has always given;
// where a version's tiles are wider than two bytes (patch 1.5) those are not
// the terrain ids, so each tile's terrain id is also kept, for the picture.
class TerrainTiles {
 public:
  static constexpr std::size_t kSize = 57600;
  // What a parse leaves in every tile the header did not fill.
  static constexpr uint8_t kUnfilled = 65;

  uint8_t operator[](std::size_t index) const { return planes_.read().terrain[index]; }
  uint8_t terrainId(std::size_t index) const { return planes_.read().terrainIds[index]; }
  uint8_t elevation(std::size_t index) const { return planes_.read().elevation[index]; }
  // Every tile's terrain bytes set to value, every elevation to 0 (flat).
  void fill(uint8_t value) {
    Planes& planes = planes_.write();
    planes.terrain.fill(value);
    planes.terrainIds.fill(value);
    planes.elevation.fill(0);
  }
  void set(std::size_t index, uint8_t value) { planes_.write().terrain[index] = value; }
  // All the tiles, to be written in one go.
  uint8_t* write() { return planes_.write().terrain.data(); }
  uint8_t* writeTerrainIds() { return planes_.write().terrainIds.data(); }
  uint8_t* writeElevation() { return planes_.write().elevation.data(); }
  // Null while nothing has been written (all zeros).
  const uint8_t* data() const { return allocated() ? planes_.read().terrain.data() : nullptr; }
  const uint8_t* terrainIdData() const {
    return allocated() ? planes_.read().terrainIds.data() : nullptr;
  }
  const uint8_t* elevationData() const {
    return allocated() ? planes_.read().elevation.data() : nullptr;
  }
  bool allocated() const { return planes_.allocated(); }

 private:
  // One block for all, so an unparsed row holds one pointer.
  struct Planes {
    std::array<uint8_t, kSize> terrain;
    std::array<uint8_t, kSize> terrainIds;
    std::array<uint8_t, kSize> elevation;
  };
  ZeroUntilWritten<Planes> planes_;
};

// The nine player blocks, indexed by player number. Only parsed games have
// players; an unparsed row reads all-zero blocks without holding them, which
// keeps the store's records small enough to move quickly when it grows.
class PlayerSlots {
 public:
  static constexpr std::size_t kCount = 9;
  using Blocks = std::array<PlayerSlot, kCount>;

  const PlayerSlot& operator[](std::size_t number) const { return blocks_.read()[number]; }
  PlayerSlot& operator[](std::size_t number) { return blocks_.write()[number]; }
  Blocks::const_iterator begin() const { return blocks_.read().begin(); }
  Blocks::const_iterator end() const { return blocks_.read().end(); }
  Blocks::iterator begin() { return blocks_.write().begin(); }
  Blocks::iterator end() { return blocks_.write().end(); }
  static constexpr std::size_t size() { return kCount; }
  bool allocated() const { return blocks_.allocated(); }

 private:
  ZeroUntilWritten<Blocks> blocks_;
};

// The map name of a parsed game whose header has no map type text: "unknown"
// in code page 932.
inline constexpr char kMapTypeNotFound[] = "\x95\x73\x96\xBE";

struct GameEntry {
  static constexpr uint32_t kFolderAttribute = platform::FolderItem::kFolderAttribute;
  static constexpr int kPositions = 9;

  std::string fileName;   // as the ANSI code page renders it: shown, sorted, filtered
  std::string exactName;  // as the file system holds it: opened (platform/exact_path.h)
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
  PlayerSlots slots;
  std::array<std::string, kPositions> teamLabels;
  std::array<std::string, kPositions> playerNames;
  std::string povName;
  std::string lobbyChat;
  std::string gameChat;
  // Held once a parse reads them: an unparsed row pays one pointer.
  ZeroUntilWritten<GameFacts> facts;

  bool isFolder() const { return platform::FolderItem::isFolder(attributes); }
  bool isParsed() const { return !mapName.empty(); }
  // The recording names the player whose view it is (positions 1..8).
  bool hasPov() const { return povIndex >= 1 && povIndex < kPositions; }
};

static_assert(PlayerSlots::kCount == GameEntry::kPositions);

}  // namespace morvane
