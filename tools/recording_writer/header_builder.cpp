#include "recording_writer/header_builder.h"

#include <algorithm>
#include <cstring>

#include "recording_writer/object_record.h"

namespace morvane::fixtures {

int64_t subRecordLength(const SubRecord& record) {
  const int64_t v = record.v == -1 ? 0 : record.v;
  return 108 + int64_t{record.c} + record.d + 4 * v;
}

int64_t scenarioRecordLength(const ScenarioRecord& record) {
  int64_t length = 30 + int64_t{record.a} + record.b;
  for (const SubRecord& sub : record.subRecords) length += subRecordLength(sub);
  length += 4 * static_cast<int64_t>(record.subRecords.size());
  length += 4;
  if (record.w > 0) length += 72 * int64_t{record.w};
  length += 4 * int64_t{record.w};
  return length;
}

void appendChatMessage(ByteWriter& out, std::string_view text,
                       std::optional<int32_t> declaredLength) {
  out.i32(declaredLength.value_or(static_cast<int32_t>(text.size())));
  out.text(text);
}

VersionLayout baseGameLayout() {
  VersionLayout v;
  v.text = "VER 9.3";
  v.saveVersion = 11.5f;
  v.listGap = 16;
  v.listMapId = false;
  v.widthAt = 108;
  v.civAt = 777;
  v.storedNames = true;
  v.resourceValues = 189;
  v.civAfterValues = 14;
  return v;
}

VersionLayout conquerorsLayout() {
  VersionLayout v;
  v.text = "VER 9.4";
  v.saveVersion = 11.76f;
  v.storedNames = true;
  v.resourceValues = 198;
  return v;
}

VersionLayout patch12Layout() {
  VersionLayout v = conquerorsLayout();
  v.text = "VER 9.8";
  v.actionStateBytes = 4;
  return v;
}

VersionLayout patch15Layout() {
  VersionLayout v = conquerorsLayout();
  v.text = "VER 9.F";
  v.actionStateBytes = 4;
  v.civAt = 985;
  v.resourceValues = 240;
  v.markedTiles = true;
  return v;
}

VersionLayout laterEditionLayout(float saveVersion, float lobbyVersion, bool lobbyRatings) {
  VersionLayout v = conquerorsLayout();
  v.saveVersion = saveVersion;
  if (saveVersion >= 11.93f) {
    v.recordTileBytes = 2;
    v.recordFixed = 2048;
  }
  if (saveVersion >= 11.96f) v.optionalTail = 6824;
  if (saveVersion >= 12.0f) v.bytesPerRuleUnit = 784;
  if (saveVersion >= 12.3f) {
    v.listGap = 36;
    v.optionalTail += 4;
  }
  if (saveVersion >= 12.35f) {
    v.lobbyVersion = lobbyVersion;
    v.lobbyRatings = lobbyRatings;
  }
  return v;
}

namespace {

void versionStart(HeaderBuilder& h, const VersionLayout& layout, int64_t start) {
  for (std::size_t i = 0; i < layout.text.size() && i < 8; ++i) {
    h.setU8(start + static_cast<int64_t>(i), static_cast<uint8_t>(layout.text[i]));
  }
  uint32_t bits = 0;
  std::memcpy(&bits, &layout.saveVersion, sizeof bits);
  h.setI32(start + 8, static_cast<int32_t>(bits));
}

}  // namespace

int64_t HeaderBuilder::plainStart(int32_t flag) {
  const int64_t start = size();
  zeros(12);
  versionStart(*this, layout, start);
  if (layout.lobbyVersion != 0) lobbyBlock(layout.lobbyVersion, layout.lobbyRatings);
  i32(flag);
  return size();
}

int64_t HeaderBuilder::optionalBlock(const OptionalBlock& block) {
  const int64_t start = size();
  zeros(12);
  versionStart(*this, layout, start);
  if (layout.lobbyVersion != 0) lobbyBlock(layout.lobbyVersion, layout.lobbyRatings);
  const int64_t flag = i32(1);
  zeros(8);
  setI16(flag + 6, block.stringCount.value_or(static_cast<int16_t>(block.strings.size())));
  for (const std::string& s : block.strings) {
    i32(static_cast<int32_t>(s.size()));
    text(s);
  }
  zeros(6);
  for (int16_t units : block.recordUnits) {
    const int64_t record = zeros(16 + layout.bytesPerRuleUnit * int64_t{units});
    setI16(record + 10, units);
  }
  zeros(layout.optionalTail);
  return size();
}

MapBlockPositions HeaderBuilder::mapBlock(const MapBlock& block) {
  MapBlockPositions at;
  at.mapBase = zeros(layout.widthAt + 12);
  setU8(at.mapBase + 45, block.pov);
  setU8(at.mapBase + 47, block.playerCount);
  setI32(at.mapBase + layout.widthAt, block.width);
  setI32(at.mapBase + layout.widthAt + 4, block.height);
  setI32(at.mapBase + layout.widthAt + 8,
         block.declaredRecords.value_or(static_cast<int32_t>(block.recordChecks.size())));
  const int64_t tiles = int64_t{block.width} * block.height;
  for (int32_t check : block.recordChecks) {
    // The part before the check value is w * h + 1275 bytes long.
    zeros(layout.recordTileBytes * std::max<int64_t>(tiles, 0) + layout.recordFixed);
    // The check value counts the floats that follow; 41 of them for any other.
    i32(check);
    zeros(4 * int64_t{check == 100 ? 100 : 41} + 4);
  }
  at.afterRecords = size();
  zeros(2);
  at.terrainStart = size();
  for (std::size_t i = 0; i < block.terrain.size(); ++i) {
    const bool marked = layout.markedTiles && !(layout.somePlainTiles && i % 3 == 0);
    if (marked) u8(0xFF);
    u8(block.terrain[i]);
    u8(i < block.elevation.size() ? block.elevation[i] : block.terrainSecondByte);
    if (marked) u8(0);
  }
  at.civSearchStart = at.afterRecords + 1014 + block.playerCount + 3 * tiles;
  return at;
}

int64_t HeaderBuilder::playerRecord(std::string_view name, uint8_t civ, uint8_t colour,
                                    Camera camera) {
  if (layout.storedNames) i16(static_cast<int16_t>(name.size() + 1));
  const int64_t at = text(name);
  const auto length = static_cast<int64_t>(name.size());
  int64_t civAt = layout.civAt;
  if (layout.resourceValues != 0) {
    u8(0);  // the stored name's NUL
    u8(0x16);
    i32(layout.resourceValues);
    u8(0x21);
    fill(4 * int64_t{layout.resourceValues}, 0x3F);  // resource values, as floats
    civAt = size() - (at + length) + layout.civAfterValues;
    u8(0);
    f32(camera.x);
    f32(camera.y);
  }
  padTo(at + length + civAt + 5);
  setU8(at + length + civAt, civ);
  setU8(at + length + civAt + 4, colour);
  return at;
}

namespace {

constexpr uint8_t kCombatRecord = 70;
constexpr uint8_t kBuildingRecord = 80;

void startObject(HeaderBuilder& h, uint8_t owner, const StartObject& object) {
  const bool combat = object.type == kCombatRecord || object.type == kBuildingRecord;
  objectRecordHead(h, combat ? object.type : 10, owner, object.unit, object.x, object.y);
  h.i32(0);   // pathing group
  h.i32(-1);  // group
  h.u8(0);
  h.u8(0);  // no sprite list
  if (!combat) return;
  h.f32(0);  // turn speed
  h.zeros(4 + 12 + 4 + 4 + 16 + 3);
  h.i32(0);  // path steps
  h.i32(0);  // no future path
  h.i32(0);  // no movement
  h.zeros(36 + 4);
  h.i32(0);  // waypoints
  h.zeros(4 + 12 + 4);
  h.zeros(1 + 1 + 2);
  if (object.moving) {
    constexpr int16_t kMoveTo = 1;
    h.i16(kMoveTo);
    h.fill(h.layout.actionStateBytes, 2);
    h.i32(-1);  // its targets
    h.i32(-1);
    h.i32(-1);
    h.i32(-1);
    h.f32(object.x + 1.0f);
    h.f32(object.y);
    h.f32(0);
    h.zeros(4 + 1 + 2 + 1);
    h.i16(0);     // no sub-actions
    h.i16(-1);    // sprite
    h.f32(0.5f);  // range
  }
  h.i16(0);  // the end of the actions
  h.zeros(14);
  h.zeros(2);
  h.u8(0);  // no own type
  h.zeros(12 + 2 + 4 + 4 + 1);
  h.i32(0);  // no unit AI
  h.zeros(1 + 4 + 8 + 12 + 4 + 1 + 1);
  if (object.type != kBuildingRecord) return;
  h.zeros(75);
  h.i16(0);
  h.i16(0);
  h.i16(0);  // production queue capacity
  h.zeros(5);
  h.i16(0);
  h.zeros(24 + 12 + 2 + 1);
}

constexpr std::string_view kLobbySeparator("\xA3\x5F\x02\x00", 4);

void lobbyString(ByteWriter& out, std::string_view text) {
  out.i16(static_cast<int16_t>(text.size()));
  out.text("\x60\x0A");
  out.text(text);
}

}  // namespace

int64_t HeaderBuilder::lobbyBlock(float version, bool ratings) {
  uint32_t bits = 0;
  std::memcpy(&bits, &version, sizeof bits);
  const int64_t start = u32(bits);
  zeros(8);  // internal and game options versions
  i32(3);    // three DLC ids
  zeros(12);
  zeros(8);  // difficulty, map size
  i32(mapId);
  zeros(24);  // reveal map .. ending age
  if (version >= 1006) zeros(4);
  text(kLobbySeparator);
  if (version == 1000) {
    lobbyString(*this, "Arabia");
    lobbyString(*this, "");
  }
  text(kLobbySeparator);
  zeros(24);
  text(kLobbySeparator);
  fill(12, 1);
  text(kLobbySeparator);
  if (version == 1000) {
    zeros(120);
    text(kLobbySeparator);
    zeros(40);
    for (int k = 0; k < 8; ++k) lobbyString(*this, k < 2 ? "\xA3\x5F\x02\x00" : "");
    zeros(16);
    text(kLobbySeparator);
    zeros(10);
    return start;
  }
  for (int k = 0; k < 8; ++k) {
    fill(8, 5);
    if (version >= 1006) zeros(1);
    zeros(15);
    lobbyString(*this, "");
    zeros(1);
    if (version >= 1005) lobbyString(*this, "");
    lobbyString(*this, k < 2 ? "\xA3\x5F\x02\x00player" : "");
    zeros(4);  // player type
    const uint64_t profile = k < 2 ? kFirstProfileId + static_cast<uint64_t>(k) + 1 : 0;
    i32(static_cast<int32_t>(profile & 0xFFFFFFFFu));
    i32(static_cast<int32_t>(profile >> 32));
    i32(k < 2 ? k + 1 : 0);
    if (ratings && version >= 1006) {  // only that version has them
      i32(k < 2 ? 1501 + k : 0);
      i32(k < 2 ? 1401 + k : 0);
    }
  }
  zeros(12);
  text(kLobbySeparator);
  zeros(10);
  for (int file = 0; file < 3; ++file) {
    lobbyString(*this, file == 1 ? mapFile : "");
    zeros(8);
  }
  raw(std::vector<uint8_t>(gameId.begin(), gameId.end()));
  lobbyString(*this, "lobby name");
  lobbyString(*this, "");
  zeros(4);
  if (version >= 1005) {
    zeros(4);
    lobbyString(*this, "");
    zeros(4);
  }
  return start;
}

int64_t HeaderBuilder::mapTypeLine(std::string_view label, std::string_view textAfter,
                                   std::string_view end, std::string_view separator) {
  text(label);
  text(separator);
  const int64_t last = size() - 1;
  text(textAfter);
  text(end);
  return last;
}

int64_t HeaderBuilder::playerList(std::vector<ListEntry> entries) {
  while (entries.size() < 9) entries.push_back(ListEntry{});
  const int64_t listStart = text(kListMarker);
  if (layout.listMapId) {
    zeros(8);
    i32(mapId);
    zeros(layout.listGap - 12);
  } else {
    zeros(layout.listGap);
  }
  for (const ListEntry& entry : entries) {
    i32(entry.number);
    i32(entry.type);
    i32(entry.declaredLength.value_or(static_cast<int32_t>(entry.name.size())));
    text(entry.name);
  }
  return listStart;
}

int64_t HeaderBuilder::doubleMarker() {
  text(kDoubleMarker);
  return size();
}

int64_t HeaderBuilder::scenarioRecord(const ScenarioRecord& record) {
  const int64_t at = zeros(18);
  i32(record.a);
  zeros(record.a);
  i32(record.b);
  zeros(record.b);
  i32(record.declaredSubRecords.value_or(static_cast<int32_t>(record.subRecords.size())));
  for (const SubRecord& sub : record.subRecords) {
    zeros(24);
    i32(sub.v);
    zeros(72);
    i32(sub.c);
    zeros(sub.c);
    i32(sub.d);
    zeros(sub.d);
    zeros(4 * int64_t{sub.v == -1 ? 0 : sub.v});
  }
  zeros(4 * static_cast<int64_t>(record.subRecords.size()));
  i32(record.w);
  if (record.w > 0) zeros(72 * int64_t{record.w});
  zeros(4 * int64_t{record.w});
  return at;
}

int64_t HeaderBuilder::scenarioList(const std::vector<ScenarioRecord>& records,
                                    std::optional<int32_t> declaredCount) {
  zeros(1);
  const int32_t count = declaredCount.value_or(static_cast<int32_t>(records.size()));
  i32(count);
  for (const ScenarioRecord& record : records) scenarioRecord(record);
  zeros(4 * int64_t{count});
  return size();
}

int64_t HeaderBuilder::teamBytes(const std::array<uint8_t, 8>& teams) {
  for (uint8_t team : teams) u8(team);
  zeros(23);
  return size();
}

int64_t HeaderBuilder::lobbyMessage(std::string_view message,
                                    std::optional<int32_t> declaredLength) {
  appendChatMessage(*this, message, declaredLength);
  return size() - static_cast<int64_t>(message.size());
}

int64_t HeaderBuilder::objectLists(uint8_t owner, const std::vector<StartObject>& objects,
                                   std::optional<int32_t> declaredCapacity) {
  constexpr uint8_t kObjectListMarker = 0x0B;
  const int64_t at = size();
  constexpr int kLists = 3;  // the third, the remembered copies, stays empty
  for (int list = 0; list < kLists; ++list) {
    std::vector<const StartObject*> held;
    for (const StartObject& object : objects) {
      if (list < 2 && object.sleeping == (list == 1)) held.push_back(&object);
    }
    u8(kObjectListMarker);
    i32(declaredCapacity.value_or(static_cast<int32_t>(held.size())));
    i32(1);  // growth
    for (const StartObject* object : held) startObject(*this, owner, *object);
    u8(0);
  }
  return at;
}

}  // namespace morvane::fixtures
