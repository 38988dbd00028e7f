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

// Copies at most 255 name bytes, stopping at the header's end.
void copyName(ByteSpan header, int64_t offset, int64_t count, char (&out)[256]) {
  std::memset(out, 0, sizeof out);
  count = std::min({count, kMaxNameBytes, std::max<int64_t>(0, header.size() - offset)});
  if (count > 0) std::memcpy(out, header.data() + offset, static_cast<std::size_t>(count));
}

void readPlayerNames(ByteSpan header, int64_t listStart, GameEntry& entry) {
  for (auto& slot : entry.slots) std::memset(slot.name, 0, sizeof slot.name);
  int64_t q = listStart + 24;
  bool readable = true;
  for (int k = 0; k < kListEntries; ++k) {
    const auto number = readable ? header.i32(q) : std::nullopt;
    const auto length = readable ? header.i32(q + 8) : std::nullopt;
    if (!number || !length) {
      readable = false;  // the rest of the list lies outside the header
      entry.playerNumbers[k] = 0;
    } else {
      entry.playerNumbers[k] = *number;
      if (*number != 0) {
        char name[256];
        copyName(header, q + 12, *length, name);
        entry.playerNames[k] = name;
        if (*number > 0 && *number < GameEntry::kPositions) {
          PlayerSlot& slot = entry.slots[*number];
          if (slot.name[0] == '\0') std::memcpy(slot.name, name, sizeof name);
        }
      }
      // A negative or overlong length cannot be followed to a next entry.
      if (*length < 0 || !header.contains(q + 12, *length)) readable = false;
      q += 12 + int64_t{*length};
    }
    entry.slots[k].civId = 0;
    entry.slots[k].colourId = 0;
  }
}

std::optional<int64_t> findMapBase(ByteSpan header) {
  const auto flag = header.i32(12);
  if (!flag || *flag != 1) return 16;
  const auto strings = header.i16(18);
  if (!strings) return std::nullopt;
  int64_t q = 24;
  for (int s = 0; s < *strings; ++s) {
    const auto length = header.i32(q);
    if (!length || *length < 0) return std::nullopt;
    q += 4 + int64_t{*length};
  }
  q += 6;
  for (int record = 0; record < 8; ++record) {
    const auto c = header.i16(q + 10);
    if (!c) return std::nullopt;
    q += 16 + 400 * int64_t{*c};
  }
  q += 5544;
  if (!header.contains(q, 0)) return std::nullopt;
  return q;
}

struct MapWalk {
  int64_t position = 0;  // where the walk stopped, before the 2 unused bytes
  bool failed = false;
};

MapWalk walkMapRecords(ByteSpan header, int64_t mapBase, int64_t tiles) {
  MapWalk walk{mapBase + 122, false};
  const int32_t records = header.i32(mapBase + 118).value_or(0);
  if (tiles < 0) {  // no record can have a negative size
    walk.failed = records > 0;
    return walk;
  }
  for (int32_t r = 0; r < records; ++r) {
    walk.position += tiles + 1275;
    if (header.i32(walk.position).value_or(0) != 41) {
      walk.failed = true;
      break;
    }
    walk.position += 172;
  }
  return walk;
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
    entry.slots[j].civId = header.u8(after + 817).value_or(0);
    entry.slots[j].colourId = header.u8(after + 821).value_or(0);
    m = after + 822;
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
  entry.povIndex = header.u8(*mapBase + 45).value_or(0);
  entry.playerCount = header.u8(*mapBase + 47).value_or(0);
  entry.mapWidth = header.i32(*mapBase + 110).value_or(0);
  entry.mapHeight = header.i32(*mapBase + 114).value_or(0);
  const int64_t tiles = int64_t{entry.mapWidth} * entry.mapHeight;

  const MapWalk walk = walkMapRecords(header, *mapBase, tiles);
  const int64_t terrain = walk.position + 2;
  entry.mapTiles.fill(65);
  if (!walk.failed && tiles > 0) copyTerrain(header, terrain, tiles, entry);

  // A tile count beyond the header's size puts the search outside it either
  // way; clamping keeps the arithmetic from overflowing.
  const int64_t reach = std::clamp<int64_t>(tiles, -(header.size() + 1), header.size() + 1);
  const int64_t m = terrain + 1012 + entry.playerCount + 3 * reach;
  matchCivilisations(header, m, positions.listEnd, entry);
  return positions;
}

}  // namespace morvane
