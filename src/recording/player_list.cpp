// Player names, point of view, player count, map size and terrain, and each
// player's civilisation and colour.
#include <algorithm>
#include <cstring>
#include <optional>

#include "recording/header_stages.h"

namespace morvane {
namespace {

constexpr std::string_view kListStartMarker("\x9D\xFF\xFF\xFF", 4);
constexpr std::string_view kListEndMarker("\x9A\x99\x99\x99\x99\x99\xF9\x3F", 8);
constexpr int64_t kMarkerFloor = 18000;  // markers must end above this offset
constexpr int kListEntries = 9;
constexpr int64_t kMaxNameBytes = 255;

// The player-name list, from listStart.
struct NameList {
  int64_t firstEntry = 24;
  int64_t numberToLength = 4;  // an unused int32 between number and length
};

// The optional block before the map block, offsets from the header's start.
struct OptionalBlock {
  int64_t flag = 12;
  int64_t stringCount = 18;
  int64_t strings = 24;
  int64_t afterStrings = 6;
  int records = 8;
  int64_t recordUnitsAt = 10;  // c, an int16; a record is 16 + 400 * c bytes
  int64_t afterUnits = 4;
  int64_t bytesPerUnit = 400;
  int64_t tail = 5544;
  int64_t mapBaseWithout = 16;  // mapBase when the flag is not 1
};

// Offsets from mapBase.
struct MapBlock {
  int64_t pov = 45;
  int64_t playerCount = 47;
  int64_t width = 110;
  int64_t height = 114;
  int64_t recordCount = 118;
  int64_t firstRecord = 122;
};

// A map record of w * h + 1447 bytes, its check value after w * h + 1275.
struct MapRecord {
  int64_t beforeCheck = 1275;
  int32_t checkValue = 41;
  int64_t afterCheck = 168;
  int64_t beforeTerrain = 2;  // after the last record
};

// The player blocks that follow the terrain, offsets from a name's end.
struct PlayerBlock {
  int64_t firstSearch = 1012;  // from the terrain's start, plus count and 3 * w * h
  int64_t civ = 817;
  int64_t colour = 821;
  int64_t nextSearch = 822;
};

constexpr NameList kNameList;
constexpr OptionalBlock kOptionalBlock;
constexpr MapBlock kMapBlock;
constexpr MapRecord kMapRecord;
constexpr PlayerBlock kPlayerBlock;

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

void readPlayerNames(ByteSpan header, int64_t listStart, GameEntry& entry) {
  for (auto& slot : entry.slots) std::memset(slot.name, 0, sizeof slot.name);
  ByteReader q(header, listStart + kNameList.firstEntry);
  for (int k = 0; k < kListEntries; ++k) {
    const int32_t number = q.i32();
    q.skip(kNameList.numberToLength);
    const int32_t length = q.i32();
    // Once an entry cannot be read, neither can the rest of the list.
    entry.playerNumbers[k] = q.failed() ? 0 : number;
    const std::string_view name = q.text(length, kMaxNameBytes);
    if (entry.playerNumbers[k] != 0) {
      entry.playerNames[k] = std::string(name);
      if (number > 0 && number < GameEntry::kPositions) {
        PlayerSlot& slot = entry.slots[number];
        if (slot.name[0] == '\0') name.copy(slot.name, name.size());
      }
    }
    entry.slots[k].civId = 0;
    entry.slots[k].colourId = 0;
  }
}

std::optional<int64_t> findMapBase(ByteSpan header) {
  const OptionalBlock& block = kOptionalBlock;
  if (header.i32(block.flag) != 1) return block.mapBaseWithout;
  const auto strings = header.i16(block.stringCount);
  if (!strings) return std::nullopt;
  ByteReader q(header, block.strings);
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

MapWalk walkMapRecords(ByteSpan header, int64_t mapBase, int64_t tiles) {
  ByteReader q(header, mapBase + kMapBlock.firstRecord);
  const int32_t records = header.i32(mapBase + kMapBlock.recordCount).value_or(0);
  if (tiles < 0) return {q.position(), records > 0};  // no record can have a negative size
  for (int32_t r = 0; r < records; ++r) {
    q.skip(tiles + kMapRecord.beforeCheck);
    const int64_t check = q.position();
    if (q.i32() != kMapRecord.checkValue) return {check, true};
    q.skip(kMapRecord.afterCheck);
  }
  return {q.position(), false};
}

void copyTerrain(ByteSpan header, int64_t start, int64_t tiles, GameEntry& entry) {
  tiles = std::min<int64_t>(tiles, TerrainTiles::kSize);
  for (int64_t i = 0; i < tiles; ++i) {
    const auto tile = header.u8(start + 2 * i);
    if (!tile) break;
    entry.mapTiles.set(static_cast<std::size_t>(i), *tile);
  }
}

// Matches slots 1, 2, 3, ... by name, strictly in order, each search
// continuing after the previous match.
void matchCivilisations(ByteSpan header, int64_t m, int64_t listEnd, GameEntry& entry) {
  if (m < 0) m = 0;  // nothing before the header's start can match
  int u = 1;
  for (int j = 1; j < GameEntry::kPositions && m < listEnd; ++j) {
    const PlayerSlot& slot = entry.slots[j];
    const std::string_view name(slot.name, strnlen(slot.name, sizeof slot.name));
    const int64_t at = header.findForward(name, m, listEnd - 1);
    if (at == ByteSpan::kNotFound) return;
    const int64_t after = at + static_cast<int64_t>(name.size());
    entry.slots[j].civId = header.u8(after + kPlayerBlock.civ).value_or(0);
    entry.slots[j].colourId = header.u8(after + kPlayerBlock.colour).value_or(0);
    m = after + kPlayerBlock.nextSearch;
    if (++u > entry.playerCount) return;
  }
}

}  // namespace

PlayerListPositions parsePlayers(ByteSpan header, GameEntry& entry) {
  const PlayerListPositions positions = findPlayerList(header);
  readPlayerNames(header, positions.listStart, entry);

  const auto mapBase = findMapBase(header);
  if (!mapBase) {
    // The map block cannot be located inside this header.
    entry.povIndex = entry.playerCount = entry.mapWidth = entry.mapHeight = 0;
    entry.mapTiles.fill(65);
    return positions;
  }
  entry.povIndex = header.u8(*mapBase + kMapBlock.pov).value_or(0);
  entry.playerCount = header.u8(*mapBase + kMapBlock.playerCount).value_or(0);
  entry.mapWidth = header.i32(*mapBase + kMapBlock.width).value_or(0);
  entry.mapHeight = header.i32(*mapBase + kMapBlock.height).value_or(0);
  const int64_t tiles = int64_t{entry.mapWidth} * entry.mapHeight;

  const MapWalk walk = walkMapRecords(header, *mapBase, tiles);
  const int64_t terrain = walk.position + kMapRecord.beforeTerrain;
  entry.mapTiles.fill(65);
  if (!walk.failed && tiles > 0) copyTerrain(header, terrain, tiles, entry);

  // A tile count beyond the header's size puts the search outside it either
  // way; clamping keeps the arithmetic from overflowing.
  const int64_t reach = std::clamp<int64_t>(tiles, -(header.size() + 1), header.size() + 1);
  const int64_t m = terrain + kPlayerBlock.firstSearch + entry.playerCount + 3 * reach;
  matchCivilisations(header, m, positions.listEnd, entry);
  return positions;
}

}  // namespace morvane
