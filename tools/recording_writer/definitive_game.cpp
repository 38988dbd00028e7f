#include "recording_writer/definitive_game.h"

#include <cmath>

#include "recording_writer/body_builder.h"
#include "recording_writer/byte_writer.h"
#include "recording_writer/object_record.h"

namespace morvane::fixtures {
namespace {

constexpr std::string_view kSeparator("\xA3\x5F\x02\x00", 4);
constexpr int kEntries = 8;
// The build each patch writes: its research command changed at 71094, the
// first patch after 26.21.
int32_t buildOf(float v) { return v > 26.21f ? 127161 : 66692; }

void deString(ByteWriter& out, std::string_view text) {
  out.text("\x60\x0A");
  out.i16(static_cast<int16_t>(text.size()));
  out.text(text);
}

// Keyed strings (the first by 0, the rest by laterKey), then the key that
// ends the block.
void stringBlock(ByteWriter& out, const std::vector<std::string>& strings, uint32_t laterKey = 0) {
  for (std::size_t k = 0; k < strings.size(); ++k) {
    const std::string& s = strings[k];
    out.u32(k == 0 ? 0 : laterKey);
    deString(out, s);
  }
  out.u32(44);
}

// A patch's number of bytes: the first release's, then what each later
// patch added or took away, from the save version it first appears in.
struct Added {
  float from;
  int64_t bytes;
};

template <std::size_t N>
int64_t bytesAt(float v, int64_t first, const Added (&added)[N]) {
  int64_t bytes = first;
  for (const Added& a : added) {
    if (v >= a.from) bytes += a.bytes;
  }
  return bytes;
}

// The fixed bytes after the modded data set's name, as each patch added them.
int64_t afterDataset(float v) {
  return bytesAt(v, 19,
                 {{13.13f, 5}, {13.17f, 9}, {20.06f, 1}, {20.16f, 8}, {25.06f, 21}, {25.22f, 4},
                  {26.16f, 8}, {37.0f, 3}, {50.0f, 8}, {61.5f, 1}, {63.0f, 5}});
}

void playerEntry(ByteWriter& out, float v, const DefinitivePlayerSpec* player,
                 bool profileIdAsName) {
  out.u32(1);  // DLC
  out.i32(player ? player->colour : -1);
  out.u8(0xFF);
  out.u8(player ? player->team : 6);
  out.u8(player ? player->team : 0);
  out.fill(8, 0xC7);  // the data's checksum
  out.u8(1);
  out.u32(player ? static_cast<uint32_t>(player->civ) : 15);
  if (v >= 61.5f) out.u32(0);
  deString(out, "");
  out.u8(0);
  deString(out, "");
  std::string name;
  if (player) name = profileIdAsName ? std::to_string(player->profileId) : player->name;
  if (v >= 66.3f) deString(out, name);
  deString(out, name);
  out.u32(player ? 2 : 1);
  out.i32(player ? player->profileId : 0);
  out.u32(0);
  out.i32(player ? player->number : -1);
  if (v < 25.22f) out.fill(8, 0x11);
  out.zeros(2);
  if (v >= 25.06f) out.zeros(8);
  if (v >= 64.3f) out.u32(0);
  if (v >= 67.2f) deString(out, "ok");
}

void emptySlot(ByteWriter& out, float v) {
  if (v >= 61.5f) out.u32(0);
  out.zeros(12);
  deString(out, "");
  out.u8(0);
  deString(out, "");
  deString(out, "");
  out.zeros(38);
  if (v >= 64.3f) out.u32(0);
}

void edition(ByteWriter& out, const DefinitiveGame& g) {
  const float v = g.saveVersion;
  const auto players = static_cast<int32_t>(g.players.size());
  if (v >= 25.22f) out.i32(buildOf(v));
  if (v >= 26.16f) out.u32(g.playedAt);
  out.f32(1119);
  out.u32(1000);
  out.u32(1);
  out.u32(2);  // two DLCs
  out.u32(2);
  out.u32(3);
  out.u32(3);  // data set
  out.i32(v >= 61.5f ? g.width : g.difficulty);
  out.i32(g.mapId);
  out.i32(g.mapId);
  out.i32(g.revealMap);
  out.i32(g.victory);
  out.i32(0);
  out.i32(g.startingAge);
  out.i32(5);
  out.i32(g.gameType);
  out.text(kSeparator);
  out.text(kSeparator);
  out.f32(g.speed);
  out.u32(0);
  out.i32(g.population);
  out.i32(players);
  out.u32(8);
  out.u32(0);
  if (v >= 61.5f) out.u8(0);
  out.text(kSeparator);
  const uint8_t flags[15] = {1, 0, 0, 0, 0, g.lockTeams ? uint8_t{1} : uint8_t{0}, 1, 1, 0, 1,
                             1, 1, 0, 0, 1};
  for (uint8_t f : flags) out.u8(f);
  if (v >= 13.34f) {
    out.u32(0);
    out.u32(30);
  }
  if (v >= 25.06f) out.u8(0);
  if (v >= 50.0f) out.u8(1);
  out.text(kSeparator);
  const bool onlyPlayers = v >= 37.0f && v < 66.3f;
  const int entries = onlyPlayers ? players : kEntries;
  for (int k = 0; k < entries; ++k) {
    playerEntry(out, v, k < players ? &g.players[static_cast<std::size_t>(k)] : nullptr,
                g.profileIdsAsNames);
  }
  out.zeros(9);
  out.fill(3, 1);
  if (onlyPlayers) {
    for (int k = players; k < kEntries; ++k) emptySlot(out, v);
  }
  out.text(kSeparator);
  out.u8(1);
  out.u8(1);
  out.u32(0);
  out.u8(0);
  out.u8(1);
  if (v >= 13.13f) {
    out.u32(120);
    out.u8(0);
  }
  stringBlock(out, g.mapStrings, 0x64CAFBEB);
  out.zeros(8);
  for (int b = 0; b < 20; ++b) {
    stringBlock(out, b == 3 ? std::vector<std::string>{"x"} : std::vector<std::string>{});
  }
  if (v >= 25.22f) {
    out.u32(3);
    out.zeros(12);
  } else {
    out.i32(-1);  // no count: 59 numbers follow
    out.zeros(4 * 59);
  }
  out.u32(1);  // AI files, a uint64
  out.u32(0);
  out.zeros(4);
  deString(out, "promi.per");
  out.zeros(4);
  if (v >= 25.02f) out.zeros(8);
  out.raw(std::vector<uint8_t>(g.gameId.begin(), g.gameId.end()));
  deString(out, "lobby");
  if (v >= 25.22f) out.zeros(8);
  deString(out, "");
  out.zeros(afterDataset(v));
  if (v >= 66.3f) {
    out.u32(2);
    out.zeros(12 + 8);
  }
  deString(out, "");
  if (v >= 67.2f) {
    deString(out, "a");
    deString(out, "");
  }
  out.zeros(5);
  if (v >= 13.13f) out.u8(0);
  if (v < 13.17f) {
    deString(out, "");
    out.zeros(8);
  } else {
    out.zeros(2);
  }
  if (v >= 37.0f) out.zeros(8);
}

// The AI scripts' strings, a rule list per player (the first two in use,
// with a rule each) and the fixed tables after them.
void aiSection(ByteWriter& out, const DefinitiveGame& g) {
  const std::vector<std::string> strings = {"Attack", "", "Build a town centre"};
  out.i16(5000);
  out.i16(static_cast<int16_t>(strings.size()));
  out.u32(0);
  for (const std::string& s : strings) {
    out.u32(static_cast<uint32_t>(s.size()));
    out.text(s);
  }
  out.i16(240);
  out.i16(230);
  out.u8(0);
  out.i16(8);
  for (int32_t list = 0; list < 8; ++list) {
    const bool inUse = list < 2;
    out.u32(inUse ? 1 : 0);
    out.i32(inUse ? list : -1);
    out.i16(inUse ? 10000 : 0);
    out.i16(inUse ? 1 : 0);
    out.u32(0);
    if (!inUse) continue;
    out.u32(1);  // in use
    out.u32(1);  // enabled
    out.i16(0);
    out.i16(-1);  // no next rule
    out.u8(1);    // one fact
    out.u8(3);    // and two actions
    out.i16(0);
    out.fill(3 * 24, 0x07);
    out.zeros(8);
  }
  for (int group = 0; group < 8; ++group) {
    out.u32(group < 2 ? 100 : 0);
    out.u32(0);
  }
  out.f32(0.14f);
  out.f32(0.29f);
  for (int k = 0; k < 9; ++k) out.u32(static_cast<uint32_t>(k));
  const int64_t filled = out.fill(2624, 0xFF);
  if (g.aiSectionDamaged) out.setU8(filled + 100, 0xFE);
  out.zeros(4096);
}

void map(ByteWriter& out, const DefinitiveGame& g) {
  const float v = g.saveVersion;
  const auto players = static_cast<int32_t>(g.players.size()) + 1;  // and Gaia
  out.zeros(24);
  out.f32(g.speed);
  out.zeros(17);
  out.i16(static_cast<int16_t>(g.pov));
  out.u8(static_cast<uint8_t>(players));
  out.zeros(2);
  out.zeros(v >= 61.5f ? 24 + 4 * int64_t{players} : 60);
  out.u32(0xDEADDEAD);
  out.u32(3);
  out.i32(g.width);
  out.i32(g.height);
  const int64_t tiles = int64_t{g.width} * g.height;
  out.u32(2);  // map records
  for (int r = 0; r < 2; ++r) {
    out.zeros(2048 + 2 * tiles);
    out.u32(113);
    out.fill(4 * 113, 0x40);
    out.zeros(4);
  }
  out.u8(0);
  out.u8(0);
  const bool wide = v >= 62.0f;
  for (int64_t i = 0; i < tiles; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const uint8_t terrain = k < g.terrain.size() ? g.terrain[k] : 0;
    out.u8(terrain);
    out.u8(wide ? 0xFF : g.narrowTiles ? 0 : terrain);
    if (wide) out.u8(terrain);
    out.u8(k < g.elevation.size() ? g.elevation[k] : 0);
    out.fill(g.narrowTiles ? 4 : 6, 0xFF);
  }
  out.u32(1);  // obstructions
  out.zeros(4);
  out.u32(2);
  out.u32(2);
  out.zeros(16);
  out.i32(g.width);
  out.i32(g.height);
  out.fill(4 * tiles * (v >= 61.5f ? 2 : 1), 0x01);
  out.i32(g.restoredAtMs);
}

// The header's last section: the lobby's settings, its chat, the map seed and
// the tail each patch lengthened.
// The first block of each player in the game data, Gaia's first, up to the
// list marker after the colour; the resources as the patch writes them.
void gameDataBlock(ByteWriter& out, const DefinitiveGame& g, const std::string& name,
                   const DefinitivePlayerSpec* player) {
  const float v = g.saveVersion;
  const auto blocks = static_cast<int32_t>(g.players.size() + 1);
  const int32_t own = player ? player->number : 0;
  out.u8(player ? 2 : 0);  // type
  out.u8(0);
  for (int32_t b = 0; b < blocks; ++b) out.u8(b == own ? 0 : 3);  // diplomacy: self, enemy
  // Stances toward players 0 to 8: 1 toward itself, 0 a player's toward
  // Gaia, 4 an enemy, -1 no player.
  for (int32_t b = 0; b < (v >= 61.5f ? blocks : 9); ++b)
    out.i32(b == own ? 1 : b >= blocks ? -1 : b == 0 ? 0 : 4);
  out.u32(0);                             // allied sight
  out.u8(0);                              // allied victory
  out.i16(static_cast<int16_t>(name.size() + 1));
  out.text(name);
  out.u8(0);
  out.u8(0x16);
  constexpr int32_t kValues = 5;
  out.i32(kValues);
  out.u8(0x21);
  const int32_t arrays = g.valueArrays > 0 ? g.valueArrays : v >= 20.16f ? 2 : 1;
  for (int32_t i = 0; i < kValues * arrays; ++i) out.f32(100.0f);
  out.u8(0x0B);
  const uint16_t x = player ? player->spawnX : 0xFFFF;
  const uint16_t y = player ? player->spawnY : 0xFFFF;
  out.f32(static_cast<float>(x) + 0.5f);  // camera
  out.f32(static_cast<float>(y) + 0.5f);
  out.i32(0);  // saved views
  out.i16(static_cast<int16_t>(x));
  out.i16(static_cast<int16_t>(y));
  out.u8(1);  // culture
  if (v >= 67.2f) deString(out, name);
  out.u8(static_cast<uint8_t>(player ? player->civ : 0));
  out.u8(0);  // status
  out.u8(0);  // resigned
  out.u8(0);
  out.u8(static_cast<uint8_t>(player ? player->colour : 0));
  out.u8(0);
  if (v < 67.2f) out.u8(0);
  out.u8(0x0B);
  out.zeros(64);  // the rest of the block, not read
}

// A static object's own copy of its type, as the game data writes one:
// the fields every type has, no damage sprites, the sounds, its name and
// the ids it was copied from.
void ownStaticType(ByteWriter& out, uint16_t unit) {
  out.u8(10);
  out.zeros(161);
  out.u8(0);
  out.zeros(22);
  deString(out, "TREE");
  out.i16(static_cast<int16_t>(unit));
  out.i16(static_cast<int16_t>(unit));
}

// Bytes closing every record's static part, whatever its type.
int64_t staticTail(float v) {
  return bytesAt(v, 0, {{61.5f, 14}, {62.0f, 4}, {66.3f, 4}});
}

// Bytes between a combat unit's formation fields and its own type's flag.
int64_t combatHead(float v) {
  return bytesAt(v, 4 + 14,
                 {{26.16f, 16}, {26.18f, 1}, {37.0f, -4}, {61.5f, 4}, {63.0f, -1}, {64.3f, 19},
                  {66.3f, 4}});
}

// Bytes after the town bell's fields.
int64_t combatTail(float v) {
  return bytesAt(v, 0,
                 {{20.06f, 4}, {25.01f, 4}, {26.16f, 5}, {26.18f, -1}, {50.0f, 48}, {61.5f, 44},
                  {64.3f, 1}});
}

// Bytes after a building's last fixed fields.
int64_t buildingTail(float v) {
  return bytesAt(v, 0,
                 {{20.16f, 2}, {25.22f, 1}, {26.16f, 4}, {50.4f, 4}, {61.5f, 12}, {64.3f, 4},
                  {66.3f, 5}});
}

constexpr uint8_t kStatic = 10, kAnimated = 20, kCombat = 70, kBuilding = 80;
constexpr int32_t kPlacedAi = 4, kLongAi = 15, kOtherLongAi = 17;

// The kind of the object's AI; 0 none.
int32_t aiKindOf(const DefinitiveObject& o) {
  if (o.aiKind >= 0) return o.aiKind;
  if (o.type != kCombat) return 0;
  return o.placed ? kPlacedAi : 1;
}

// Every record's first part: its type, owner, unit, place, resource, group,
// own copy of its type, sprites and particles, with each patch's additions.
void staticPart(ByteWriter& out, float v, uint8_t owner, const DefinitiveObject& o) {
  const bool drawn = o.type == kCombat || o.type == kBuilding;
  objectRecordHead(out, o.type, owner, o.unit, o.x, o.y);
  if (v < 37.0f) out.i32(0);  // pathing group
  if (v >= 66.3f) out.zeros(2);
  out.i32(-1);  // group
  out.u8(0);
  out.zeros(17);
  if (v >= 26.16f) out.u8(0);
  out.i16(o.ownCopy ? 1 : 0);  // its own properties
  if (o.ownCopy) ownStaticType(out, o.unit);
  if (drawn && !o.spriteless) {  // one drawn; a static object has none, as in the games
    out.u8(1);
    out.u8(1);
    out.zeros(13 + 3);
  }
  out.u8(0);         // the list's end, or no list
  out.zeros(2 * 5);  // five particles, none
  if (v >= 13.15f) out.fill(5, 0xFF);
  if (v >= 13.17f) out.fill(2, 0xFF);
  if (v >= 13.34f) {
    out.zeros(2);
    deString(out, "");
    deString(out, "");
    out.zeros(2);
  }
  // A resource's byte: a static object's from 20.16, every type's from 63.0.
  if (v >= 20.16f && (o.type == kStatic || v >= 63.0f)) out.u8(0);
  if (v >= 64.3f) out.u8(0);
  out.zeros(staticTail(v));
}

// An animated object: its turn speed.
void animatedPart(ByteWriter& out) { out.f32(0); }

// A moving object standing still: no path, no movement, its place.
void movingPart(ByteWriter& out, float v, const DefinitiveObject& o) {
  out.zeros(4 + 12);
  if (v >= 20.16f) out.u8(0);  // after the velocity
  out.zeros(4 + 4);
  if (v < 37.0f) out.zeros(16);  // timers
  out.zeros(3);
  out.i32(0);  // path steps
  out.i32(0);  // no future path
  out.i32(0);  // no movement
  if (v < 13.2f) out.zeros(2);
  out.f32(o.x);  // the place, the height between
  out.f32(0);
  out.f32(o.y);
  out.zeros(24 + 4);
  out.i32(0);  // waypoints
  out.zeros(4 + 12 + 4);
}

// An action unit with no actions, then the base combat fields.
void actionPart(ByteWriter& out) {
  out.zeros(1 + 1 + 2);
  out.i16(0);  // no actions
  out.zeros(14);
}

// A unit's AI of the given kind, with nothing ordered or remembered.
void unitAi(ByteWriter& out, float v, const DefinitiveObject& o, int32_t kind) {
  out.zeros(108);
  if (v >= 20.06f && v < 26.21f) out.zeros(8);
  out.i32(0);  // orders
  out.i32(0);  // notifications
  out.i32(0);  // attacking units
  out.zeros(1 + 1 + 8 + 4 + 1 + 4);
  out.i32(0);  // no patrol path
  out.zeros(4);
  out.i32(0);  // order history
  out.zeros(4 + 4);
  out.i32(0);  // retargets
  out.zeros(4 + 1 + 4);
  if (v >= 25.22f) out.u8(0);
  if (v >= 67.2f) {  // its place once more: a flag, the place, two bytes
    out.u8(1);
    out.f32(o.x);
    out.f32(o.y);
    out.f32(0);
    out.zeros(2);
  }
  if (v >= 63.0f && (kind == kLongAi || kind == kOtherLongAi)) out.zeros(4);
}

void combatPart(ByteWriter& out, float v, const DefinitiveObject& o) {
  out.zeros(combatHead(v) + 2);
  out.u8(0);  // no own type
  out.zeros(12 + 2 + 4 + 4 + 1);
  const int32_t kind = aiKindOf(o);
  out.i32(kind);
  if (kind != 0) unitAi(out, v, o, kind);
  if (o.placed) {
    out.f32(o.x);
    out.f32(o.y);
    out.f32(0);
    out.u8(1);
  }
  out.u8(0);    // the town bell, unrung
  out.i32(-1);  // and its target
  out.f32(-1.0f);
  out.f32(-1.0f);
  out.i32(-1);
  out.i32(-1);
  out.i32(-1);
  out.zeros(4 + 1 + 1);
  out.zeros(combatTail(v));
  if (v >= 63.0f && kind == kLongAi) out.zeros(6);  // kind 15's own
}

void buildingPart(ByteWriter& out, float v) {
  out.zeros(1 + 4 + 4 + 1 + 1 + 4 + 4 + 4 + 4);
  out.zeros(4 + 12 + 4 + 2);  // the gather point
  out.zeros(1 + 4 + 4 + 12 + 1);
  out.i16(0);  // no actions
  out.i16(0);  // production queue capacity
  out.zeros(2 + 2 + 1);
  out.i16(0);  // no actions
  out.zeros(24 + 4 + 4 + 4 + 1 + 1 + 1 + 1);
  out.zeros(buildingTail(v));
}

// One object record in the form of its patch: only the types the
// DefinitiveObject names.
void definitiveObject(ByteWriter& out, float v, uint8_t owner, const DefinitiveObject& o) {
  staticPart(out, v, owner, o);
  if (o.type == kStatic) return;
  animatedPart(out);
  if (o.type == kAnimated) return;
  movingPart(out, v, o);
  actionPart(out);
  combatPart(out, v, o);
  if (o.type == kBuilding) buildingPart(out, v);
}

// A block's three lists, the objects in the first.
void objectLists(ByteWriter& out, float v, uint8_t owner,
                 const std::vector<DefinitiveObject>& objects) {
  constexpr uint8_t kListMarker = 0x0B;
  for (int list = 0; list < 3; ++list) {
    const std::size_t held = list == 0 ? objects.size() : 0;
    out.u8(kListMarker);
    out.i32(static_cast<int32_t>(held));
    out.i32(1);  // growth
    for (std::size_t k = 0; k < held; ++k) definitiveObject(out, v, owner, objects[k]);
    out.u8(0);
  }
}

void lobby(ByteWriter& out, const DefinitiveGame& g) {
  const float v = g.saveVersion;
  for (std::size_t k = 0; k < kEntries; ++k) out.u8(k < g.players.size() ? g.players[k].team : 0);
  out.i32(g.revealMap);
  out.u32(1);
  out.i32(g.width);
  out.i32(g.population);
  out.u8(static_cast<uint8_t>(g.gameType));
  out.u8(g.lockTeams ? 1 : 0);
  out.u8(0);  // treaty
  out.u32(0);
  if (v >= 13.13f) out.u32(0);
  if (v >= 25.22f) out.u8(0);
  out.u32(static_cast<uint32_t>(g.lobbyChat.size()));
  for (std::size_t m = 0; m < g.lobbyChat.size(); ++m) {
    const std::string& message = g.lobbyChat[m];
    const bool off = g.lobbyLengthOff && m + 1 == g.lobbyChat.size();
    out.u32(static_cast<uint32_t>(message.size() + 1 + (off ? 1 : 0)));
    out.text(message);
    out.u8(0);
  }
  out.u32(0x618DDD8F);  // map seed
  int64_t tail = 10;
  if (v >= 26.16f) tail += 4;
  if (v >= 37.0f) tail += 4;
  if (v >= 50.0f) tail += 1;
  if (v >= 66.3f) tail += 4;
  out.zeros(tail);
}

}  // namespace

DefinitiveGame twoPlayerDefinitiveGame(float saveVersion) {
  DefinitiveGame g;
  g.saveVersion = saveVersion;
  g.players = {{1, "Alice", 16, 1, 2, 915284, 3, 5}, {2, "Bj\xC3\xB6rn", 41, 0, 3, 2428367, 6, 2}};
  g.pov = 2;
  for (int32_t i = 0; i < g.width * g.height; ++i) {
    g.terrain.push_back(static_cast<uint8_t>(i % 5 == 0 ? 110 : 9));
    g.elevation.push_back(static_cast<uint8_t>(i / 9 % 3));
  }
  constexpr int32_t kEveryone = 0x3FC;
  g.chat = {{1, 0, "gl \"hf\"", -1, "@#12  <platform_icon_world>  Alice: gl \"hf\"", kEveryone},
            {2, 0, "gg", -1, "", 0x8},  // to the second player alone: not shown to the first
            {2, 0, "<player_id,2,0> advanced to the Feudal Age.", -1,
             "@#2<player_id,2,0> advanced to the Feudal Age.", std::nullopt}};
  g.lobbyChat = {"", "@#23  <platform_icon_world>  Bj\xC3\xB6rn: hi", "", "@#12 Alice: 11"};
  g.research = {{2, 22}, {2, 101}, {1, 101}, {2, 101}, {1, 102}};
  g.resigning = {2};
  return g;
}

std::vector<uint8_t> buildDefinitiveHeader(const DefinitiveGame& g) {
  ByteWriter out;
  out.text("VER 9.4");
  out.u8(0);
  if (g.saveVersion >= 37.0f) {
    out.f32(-1);
    out.u32(static_cast<uint32_t>(std::lround(static_cast<double>(g.saveVersion) * 65536)));
  } else {
    out.f32(g.saveVersion);
  }
  edition(out, g);
  out.u32(g.withAi ? 1 : 0);
  if (g.withAi) aiSection(out, g);
  map(out, g);
  for (std::size_t block = 0; block <= g.players.size(); ++block) {
    const DefinitivePlayerSpec* player = block == 0 ? nullptr : &g.players[block - 1];
    gameDataBlock(out, g, player ? player->name : "Gaia", player);
    if (block < g.objects.size())
      objectLists(out, g.saveVersion, static_cast<uint8_t>(block), g.objects[block]);
  }
  out.zeros(4096);  // the rest, not read
  lobby(out, g);
  return out.take();
}

std::vector<uint8_t> buildDefinitiveBody(const DefinitiveGame& g) {
  BodyBuilder body;
  body.i32(5);  // the body's own version
  body.i32(500);
  body.i32(1);
  body.i32(1);
  body.i32(3);
  body.zeros(8);
  body.i32(0);  // one zero int32 where the earlier editions have three
  const bool rewritten = g.saveVersion >= 25.22f && buildOf(g.saveVersion) >= 71094;
  for (const auto& [player, tech] : g.research) {
    ByteWriter c;
    c.u8(0x65);
    if (rewritten) {
      c.u8(player);
      c.i16(17);  // the bytes after it
      c.u32(0x0518);  // the building
      c.i16(1);       // selected units
      c.i16(tech);
      c.fill(5, 0xFF);
      c.u32(0x0518);
    } else {
      c.zeros(3);
      c.u32(0x0518);
      c.i16(player);
      c.i16(1);
      c.i32(tech);
      c.i32(-1);
      c.zeros(4);
      c.u32(0x0518);
    }
    body.command(c.bytes());
    body.timeStep(g.stepMs);
  }
  const auto quoted = [](const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
      if (c == '"' || c == '\\') out.push_back('\\');
      out.push_back(c);
    }
    return out + "\"";
  };
  for (const DefinitiveChatMessage& m : g.chat) {
    std::string json = "{\"player\":" + std::to_string(m.player) +
                       ",\"channel\":" + std::to_string(m.channel) +
                       ",\"message\":" + quoted(m.message) +
                       ",\"tauntNumber\":" + std::to_string(m.taunt) +
                       ",\"messageAGP\":" + quoted(m.shown);
    if (m.receivers) json += ",\"destinationMap\":" + std::to_string(*m.receivers);
    json += "}";
    body.chat(json);
    body.timeStep(g.stepMs);
  }
  for (uint8_t player : g.resigning) {
    body.command({0x0B, player, 1, 0, 0});
    body.timeStep(g.stepMs);
  }
  return body.take();
}

}  // namespace morvane::fixtures
