// Player names, point of view, player count, map size, terrain and elevation,
// and each player's civilisation, colour and starting view.
#include <algorithm>
#include <cstring>
#include <optional>

#include "recording/header_stages.h"
#include "recording/lobby_block.h"

namespace morvane {
namespace {

constexpr std::string_view kListStartMarker("\x9D\xFF\xFF\xFF", 4);
constexpr std::string_view kListEndMarker("\x9A\x99\x99\x99\x99\x99\xF9\x3F", 8);
constexpr int64_t kMarkerFloor = 18000;  // markers must end above this offset
constexpr int kListEntries = 9;
constexpr int64_t kMaxNameBytes = 255;

PlayerListPositions findPlayerList(ByteSpan header) {
  PlayerListPositions found;
  if (header.size() <= kMarkerFloor) return found;
  const int64_t end = header.findBackward(kListEndMarker, header.size() - 1, kMarkerFloor + 1);
  if (end == ByteSpan::kNotFound) return found;
  found.listEnd = end + static_cast<int64_t>(kListEndMarker.size());
  const int64_t start = header.findBackward(kListStartMarker, found.listEnd - 1, kMarkerFloor + 1);
  if (start != ByteSpan::kNotFound) found.listStart = start;
  return found;
}

void readPlayerNames(ByteSpan header, const NameListLayout& list, int64_t listStart,
                     GameEntry& entry, PlayerTypes& types) {
  for (auto& slot : entry.slots) std::memset(slot.name, 0, sizeof slot.name);
  ByteReader q(header, listStart + list.firstEntry);
  for (int k = 0; k < kListEntries; ++k) {
    const int32_t number = q.i32();
    const int32_t type = q.i32();
    const int32_t length = q.i32();
    // Once an entry cannot be read, neither can the rest of the list.
    entry.playerNumbers[k] = q.failed() ? 0 : number;
    types[static_cast<std::size_t>(k)] = q.failed() ? 0 : type;
    const std::string_view name = q.text(length, kMaxNameBytes);
    // 0 is an empty position; the later edition writes a closed one as -1,
    // with the word "Closed" in the game's language as its name.
    if (entry.playerNumbers[k] > 0) {
      entry.playerNames[k] = std::string(name);
      if (number < GameEntry::kPositions) {
        PlayerSlot& slot = entry.slots[number];
        if (slot.name[0] == '\0') name.copy(slot.name, name.size());
      }
    }
    entry.slots[k].civId = 0;
    entry.slots[k].colourId = 0;
    entry.slots[k].start.reset();
  }
}

// The optional block's flag: after the save version, or after the lobby block
// of a version that has one.
std::optional<int64_t> findOptionalBlock(ByteSpan header, const OptionalBlockLayout& block,
                                         std::optional<LobbyBlock>& lobby) {
  if (!block.afterLobbyBlock) return block.flag;
  lobby = readLobbyBlock(header, block.flag);
  if (!lobby) return std::nullopt;
  return lobby->end;
}

std::optional<int64_t> findMapBase(ByteSpan header, const OptionalBlockLayout& block,
                                   std::optional<LobbyBlock>& lobby) {
  const auto flag = findOptionalBlock(header, block, lobby);
  if (!flag) return std::nullopt;
  if (header.i32(*flag) != 1) return *flag + block.mapBaseWithout;
  const auto strings = header.i16(*flag + block.stringCount);
  if (!strings) return std::nullopt;
  ByteReader q(header, *flag + block.strings);
  for (int s = 0; s < *strings; ++s) q.skipLength(q.i32());
  q.skip(block.afterStrings);
  for (int record = 0; record < block.records; ++record) {
    q.skip(block.recordUnitsAt);
    const int16_t units = q.i16();
    q.skip(block.afterUnits + block.bytesPerUnit * units);
  }
  q.skip(block.tail);
  if (q.failed()) return std::nullopt;
  return q.position();
}

struct MapWalk {
  int64_t position = 0;  // where the walk stopped, before the unused bytes
  bool failed = false;
};

MapWalk walkMapRecords(ByteSpan header, const HeaderLayout& layout, int64_t mapBase,
                       int64_t tiles) {
  const MapRecordLayout& record = layout.mapRecord;
  ByteReader q(header, mapBase + layout.mapBlock.firstRecord);
  const int32_t records = header.i32(mapBase + layout.mapBlock.recordCount).value_or(0);
  if (tiles < 0) return {q.position(), records > 0};  // no record can have a negative size
  // Past the header's end the first check fails whatever the size; the clamp
  // keeps the product from overflowing.
  const int64_t tileBytes = record.tileBytes * std::min(tiles, header.size() + 1);
  for (int32_t r = 0; r < records; ++r) {
    q.skip(tileBytes + record.beforeCheck);
    const int64_t check = q.position();
    const int32_t floats = q.i32();
    if (floats != record.checkValue && floats != record.otherCheckValue) return {check, true};
    q.skip(int64_t{4} * floats + record.afterFloats);
  }
  return {q.position(), false};
}

constexpr uint8_t kWideTileMarker = 255;

// Terrain ids and elevation of tiles that may be widened by a marker byte;
// the first byte after the last tile, or 0 when the tiles overrun the header.
int64_t copyMarkedTiles(ByteSpan header, int64_t start, int64_t tiles, GameEntry& entry) {
  uint8_t* terrainIds = entry.mapTiles.writeTerrainIds();
  uint8_t* elevation = entry.mapTiles.writeElevation();
  ByteReader q(header, start);
  for (int64_t i = 0; i < tiles && !q.failed(); ++i) {
    uint8_t terrain = q.u8();
    const bool wide = terrain == kWideTileMarker;
    if (wide) terrain = q.u8();
    const uint8_t height = q.u8();
    if (wide) q.skip(1);  // the terrain it replaced
    if (i < static_cast<int64_t>(TerrainTiles::kSize) && !q.failed()) {
      terrainIds[i] = terrain;
      elevation[i] = height;
    }
  }
  return q.failed() ? 0 : q.position();
}

// The tiles' terrain and elevation into the entry; the first byte after the
// last tile, or 0 when the tiles overrun the header.
int64_t copyTiles(ByteSpan header, const TileLayout& layout, int64_t start, int64_t tiles,
                  GameEntry& entry) {
  constexpr int64_t kTerrainFieldStride = 2;  // the field's form, whatever the tiles' width
  const int64_t kept = std::min<int64_t>(tiles, TerrainTiles::kSize);
  header.copyStrided(start, kTerrainFieldStride, kept, entry.mapTiles.write());
  if (layout.widenedByMarker) return copyMarkedTiles(header, start, tiles, entry);
  header.copyStrided(start + layout.terrain, layout.bytes, kept, entry.mapTiles.writeTerrainIds());
  header.copyStrided(start + layout.elevation, layout.bytes, kept,
                     entry.mapTiles.writeElevation());
  if (tiles > header.size()) return 0;  // and the product below cannot overflow
  const int64_t end = start + layout.bytes * tiles;
  return end <= header.size() ? end : 0;
}

constexpr uint8_t kCountMarker = 0x16;   // before a player block's count of resource values
constexpr uint8_t kValuesMarker = 0x21;  // after it

// The end of the first name at or after m, or kNotFound. A stored name is its
// uint16 length + 1, its bytes and a NUL; a bare empty name matches at once.
int64_t findNameEnd(ByteSpan header, std::string_view name, const PlayerBlockLayout& block,
                    int64_t m, int64_t listEnd) {
  const auto length = static_cast<int64_t>(name.size());
  if (!block.storedForm || (length == 0 && !block.countedValues)) {
    const int64_t at = header.findForward(name, m, listEnd - 1);
    return at == ByteSpan::kNotFound ? at : at + length;
  }
  constexpr int64_t kLengthBytes = 2;
  std::string stored;
  stored.push_back(static_cast<char>((length + 1) & 0xFF));
  stored.push_back(static_cast<char>((length + 1) >> 8));
  stored.append(name);
  stored.push_back('\0');
  if (block.countedValues) stored.push_back(static_cast<char>(kCountMarker));
  // Keyed on the name's first byte, or the count marker after an empty name:
  // the length's bytes and NULs are common in the object data the search crosses.
  const int64_t key = length == 0 ? kLengthBytes + 1 : kLengthBytes;
  const int64_t at = header.findForward(stored, m, listEnd - 1, key);
  return at == ByteSpan::kNotFound ? at : at + kLengthBytes + length;
}

// Where a block's civilisation byte stands, given its name's end (the NUL of
// a stored name), or nullopt when the bytes there are not a player block.
std::optional<int64_t> civilisationAt(ByteSpan header, const PlayerBlockLayout& block,
                                      int64_t nameEnd) {
  if (!block.countedValues) return nameEnd + block.civ;
  constexpr int64_t kValueBytes = 4;
  ByteReader q(header, nameEnd + 1);
  if (q.u8() != kCountMarker) return std::nullopt;
  const int32_t values = q.i32();
  if (q.u8() != kValuesMarker || q.failed() || values < 0) return std::nullopt;
  // A count the header cannot hold is not a block's.
  const int64_t civ = q.position() + kValueBytes * values + block.civAfterValues;
  if (!header.contains(civ, block.colourAfterCiv + 1)) return std::nullopt;
  return civ;
}

// The initial camera of the block whose civilisation stands at civ, when it
// lies inside the map: anything else (NaN, infinite, negative, past the
// edge) is not a place a player starts.
std::optional<MapPoint> startViewAt(ByteSpan header, const PlayerBlockLayout& block, int64_t civ,
                                    const GameEntry& entry) {
  if (!block.countedValues) return std::nullopt;
  const int64_t at = civ - block.civAfterValues + block.cameraAfterValues;
  const auto x = header.f32(at);
  const auto y = header.f32(at + 4);
  const auto inside = [](std::optional<float> value, int32_t size) {
    return value && *value >= 0 && *value < static_cast<float>(size);  // false for NaN
  };
  if (!inside(x, entry.mapWidth) || !inside(y, entry.mapHeight)) return std::nullopt;
  return MapPoint{*x, *y};
}

// Matches slots 1, 2, 3, ... by name, strictly in order, each search
// continuing after the previous match. A stored name that is not followed by
// a player block is passed over.
void matchCivilisations(ByteSpan header, const PlayerBlockLayout& block, int64_t m, int64_t listEnd,
                        GameEntry& entry) {
  if (m < 0) m = 0;  // nothing before the header's start can match
  int u = 1;
  for (int j = 1; j < GameEntry::kPositions && m < listEnd; ++j) {
    const PlayerSlot& slot = entry.slots[j];
    const std::string_view name(slot.name, strnlen(slot.name, sizeof slot.name));
    std::optional<int64_t> civ;
    while (!civ) {
      const int64_t after = findNameEnd(header, name, block, m, listEnd);
      if (after == ByteSpan::kNotFound) return;
      civ = civilisationAt(header, block, after);
      if (!civ) m = after + 1;
    }
    entry.slots[j].civId = header.u8(*civ).value_or(0);
    entry.slots[j].colourId = header.u8(*civ + block.colourAfterCiv).value_or(0);
    entry.slots[j].start = startViewAt(header, block, *civ, entry);
    m = *civ + block.colourAfterCiv + 1;
    if (++u > entry.playerCount) return;
  }
}

}  // namespace

PlayerListPositions parsePlayers(ByteSpan header, const HeaderLayout& layout, GameEntry& entry) {
  PlayerListPositions positions = findPlayerList(header);
  readPlayerNames(header, layout.nameList, positions.listStart, entry, positions.playerTypes);

  const auto mapBase = findMapBase(header, layout.optionalBlock, positions.lobby);
  positions.mapBase = mapBase;
  if (!mapBase) {
    // The map block cannot be located inside this header.
    entry.povIndex = entry.playerCount = entry.mapWidth = entry.mapHeight = 0;
    entry.mapTiles.fill(TerrainTiles::kUnfilled);
    return positions;
  }
  const MapBlockLayout& map = layout.mapBlock;
  entry.povIndex = header.u8(*mapBase + map.pov).value_or(0);
  entry.playerCount = header.u8(*mapBase + map.playerCount).value_or(0);
  entry.mapWidth = header.i32(*mapBase + map.width).value_or(0);
  entry.mapHeight = header.i32(*mapBase + map.height).value_or(0);
  const int64_t tiles = int64_t{entry.mapWidth} * entry.mapHeight;

  const MapWalk walk = walkMapRecords(header, layout, *mapBase, tiles);
  const int64_t terrain = walk.position + layout.mapRecord.beforeTerrain;
  entry.mapTiles.fill(TerrainTiles::kUnfilled);
  if (!walk.failed && tiles > 0) {
    positions.tilesEnd = copyTiles(header, layout.tiles, terrain, tiles, entry);
    positions.terrainStart = terrain;
    positions.tiles = tiles;
  }

  // A tile count beyond the header's size puts the search outside it either
  // way; clamping keeps the arithmetic from overflowing.
  const int64_t reach = std::clamp<int64_t>(tiles, -(header.size() + 1), header.size() + 1);
  const int64_t m = terrain + layout.playerBlock.firstSearch + entry.playerCount + 3 * reach;
  matchCivilisations(header, layout.playerBlock, m, positions.listEnd, entry);
  return positions;
}

}  // namespace morvane
