// Each record type extends the one before it, as the game's object classes
// do: static, animated, moving, action, combat, building. The lengths here
// are The Conquerors' and its patches'; ObjectRecordLayout names what the
// other known versions change.
#include "recording/game_objects.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {
namespace {

enum RecordType : uint8_t {
  kEnd = 0,
  kStatic = 10,
  kBaseType = 15,  // in a unit's own copy of its type only
  kAnimated = 20,
  kDoppelganger = 25,
  kMoving = 30,
  kAction = 40,
  kBaseCombat = 50,
  kMissile = 60,
  kCombat = 70,
  kBuilding = 80,
  kTree = 90,
};

constexpr uint8_t kListMarker = 0x0B;  // opens each list, after the last one's end
constexpr int kLists = 3;              // live, sleeping, remembered copies
constexpr int kMaxActionDepth = 16;    // an action's sub-actions nest no deeper in play
constexpr int64_t kOrderBytes = 36;
constexpr int64_t kNotificationBytes = 24;
constexpr int64_t kOrderHistoryBytes = 44;
constexpr int64_t kRetargetBytes = 8;
constexpr int64_t kVectorBytes = 12;

// Unit ids, the same in every edition that holds them.
constexpr uint16_t kGold[] = {66, 841};  // the later editions' larger pile too
constexpr uint16_t kStone[] = {102, 839};
constexpr uint16_t kRelic = 285;
constexpr uint16_t kFirstCliff = 264;
constexpr uint16_t kLastCliff = 273;
constexpr uint16_t kTownCentres[] = {109, 71, 141, 142};  // not the annexes 618-620

template <std::size_t N>
bool isOneOf(uint16_t unit, const uint16_t (&ids)[N]) {
  return std::find(std::begin(ids), std::end(ids), unit) != std::end(ids);
}

struct Record {
  uint8_t type = 0;
  uint16_t unit = 0;
  uint32_t id = 0;
  MapPoint at;
};

class RecordWalk {
 public:
  RecordWalk(ByteSpan bytes, int64_t at, const ObjectRecordLayout& layout)
      : bytes_(bytes), q_(bytes, at), l_(layout) {}

  ByteReader& q() { return q_; }
  int64_t records() const { return records_; }
  // The walk stopped at a record whose form is not known, not a broken one.
  bool stoppedAtUnknownForm() const { return unknownForm_; }

  // One list: its marker, capacity and growth, then records up to a type 0.
  // Each record is handed to keep; false once the walk cannot go on.
  template <typename Keep>
  bool list(uint8_t owner, const ObjectSearch& search, Keep&& keep) {
    if (q_.u8() != kListMarker) return false;
    const int32_t capacity = q_.i32();
    const int32_t growth = q_.i32();
    if (q_.failed() || capacity < 0 || growth <= 0 || capacity > remaining()) return false;
    for (int32_t held = 0;; ++held) {
      const uint8_t type = q_.u8();
      if (q_.failed()) return false;
      if (type == kEnd) return true;
      if (held == capacity || q_.u8() != owner) return false;
      Record record;
      record.type = type;
      if (!body(record) || q_.failed()) return false;
      const auto inside = [](float value, int32_t size) {
        return value >= 0 && value <= static_cast<float>(size);  // false for NaN
      };
      if (!inside(record.at.x, search.mapWidth) || !inside(record.at.y, search.mapHeight))
        return false;
      keep(record);
      ++records_;
    }
  }

 private:
  int64_t remaining() const { return bytes_.size() - q_.position(); }

  // count elements of each bytes, refused when the header cannot hold them.
  void skipCounted(int64_t count, int64_t each) {
    if (count < 0 || count > remaining() / each) {
      q_.fail();
      return;
    }
    q_.skip(count * each);
  }

  bool body(Record& r) {
    switch (r.type) {
      case kStatic:
      case kTree:
        staticPart(r);
        return true;
      case kAnimated:
      case kDoppelganger:
        animated(r);
        return true;
      case kMoving:
        movingUnit(r);
        return true;
      case kAction:
        action(r);
        return true;
      case kBaseCombat:
        baseCombat(r);
        return true;
      case kMissile:
        baseCombat(r);
        q_.skip(4 + 4);  // range, the unit that fired it
        ownType();
        return true;
      case kCombat:
        combat(r);
        return true;
      case kBuilding:
        combat(r);
        building();
        return true;
      default:
        return false;
    }
  }

  void staticPart(Record& r) {
    r.unit = q_.u16();
    q_.skip(2 + 4 + 4 + 4);  // sprite, garrison, hit points, states
    r.id = static_cast<uint32_t>(q_.i32());
    q_.skip(1);  // facet
    r.at.x = q_.f32();
    r.at.y = q_.f32();
    q_.skip(4 + 8);  // z, screen and shadow offsets
    if (l_.baseGame) q_.skip(1);
    q_.skip(2 + 4 + l_.workerCount + 3);  // resource type and amount, workers, damage, attack
    if (l_.pathingGroup) skipCounted(q_.i32(), 4);
    q_.skip(l_.beforeGroup + 4 + 1);
    if (l_.definitive) {
      definitiveStatic(r);
      return;
    }
    if (q_.u8() != 0) spriteList();
    if (l_.staticList) {
      q_.skip(1 + 4);
      if (q_.u16() != 0) flaggedList();
    }
  }

  void definitiveStatic(const Record& r) {
    constexpr int kParticles = 5;
    constexpr uint16_t kNamedParticle = 1;
    q_.skip(l_.afterGroupFlag + l_.beforeProperties);
    // 1: the object holds its own copy of its type, changed in play.
    const uint16_t ownCopy = q_.u16();
    if (ownCopy == 1 && l_.ownTypeAsData) {
      definitiveOwnType(r.type);
    } else if (ownCopy != 0) {
      unknownForm();
    }
    const bool sprites = q_.u8() != 0;
    if (sprites) spriteList();
    for (int p = 0; p < kParticles && !q_.failed(); ++p) {
      const uint16_t type = q_.u16();
      if (type == kNamedParticle) {
        skipString();
        q_.skip(4 + 4 + 26);
      } else if (type != 0) {
        q_.fail();
      }
    }
    q_.skip(l_.afterParticles);
    if (l_.particleStrings) {
      q_.skip(2);
      skipString();
      skipString();
      q_.skip(2);
    }
    if (l_.byteOrSpritesUnsettled && (r.type == kStatic) == sprites) unknownForm();
    if (l_.resourceByte && (r.type == kStatic || l_.everyTypeByte)) q_.skip(1);
    q_.skip(l_.lateStaticByte);
    // Whether an animated object holds one byte more here is not known
    // from 20.16.
    if (r.type == kAnimated && l_.animatedByteUnknown) unknownForm();
    q_.skip(l_.staticTail);
  }

  // An object's own copy of its type in this edition, as the game data
  // writes a unit type: the fields every type has, its damage sprites, four
  // sounds and two bytes, its name, the ids it was copied from; then each
  // record type's own fields. Known up to the moving types.
  void definitiveOwnType(uint8_t recordType) {
    // From the id to the damage sprites: names, sprites, sizes, sounds,
    // terrains, the interface and outline fields and three resource stores.
    constexpr int64_t kCommonBytes = 161;
    constexpr int64_t kAfterSprites = 2 + 2 + 16 + 1 + 1;  // sounds, four sound ids, reaction, terrain
    constexpr int64_t kAnimatedBytes = 4;                     // speed
    constexpr int64_t kMovingBytes = 41;  // sprites, turning and tracking fields
    const uint8_t type = q_.u8();
    if (type != recordType) {
      q_.fail();
      return;
    }
    q_.skip(kCommonBytes);
    // A damage sprite's form in this copy is not known.
    if (q_.u8() != 0) unknownForm();
    q_.skip(kAfterSprites);
    skipString();
    q_.skip(2 + 2);  // the ids of the type copied and its base
    if (type >= kAnimated) q_.skip(kAnimatedBytes);
    if (type >= kMoving) q_.skip(kMovingBytes);
    if (type > kMoving) unknownForm();
  }

  // The marker 60 0A, a uint16 length and the bytes.
  void skipString() {
    q_.expect(std::string_view("\x60\x0A", 2));
    q_.skip(q_.u16());
  }

  // Entries of a type byte and 16 bytes, up to a type 0.
  void flaggedList() {
    while (!q_.failed()) {
      if (q_.u8() == 0) return;
      q_.skip(16);
    }
  }

  void spriteList() {
    constexpr uint8_t kAnimatedSprite = 2;
    while (!q_.failed()) {
      const uint8_t type = q_.u8();
      if (type == 0) return;
      q_.skip(13);
      if (type == kAnimatedSprite) q_.skip(17);
      q_.skip(3);
    }
  }

  void animated(Record& r) {
    staticPart(r);
    q_.skip(4);  // turn speed
  }

  void moving(Record& r) {
    animated(r);
    q_.skip(4 + kVectorBytes + l_.velocityByte + 4 + 4);
    if (l_.movementTimers) q_.skip(16);
    q_.skip(3);
    skipCounted(q_.i32(), l_.pathData);
    if (q_.i32() != 0) q_.skip(l_.pathData);       // the future path
    if (q_.i32() != 0) q_.skip(2 * kVectorBytes);  // velocity and acceleration
    q_.skip(l_.afterMovement);
    q_.skip(3 * kVectorBytes + 4);
    skipCounted(q_.i32(), kVectorBytes);  // waypoints the player set
    q_.skip(4 + kVectorBytes + 4);
  }

  void movingUnit(Record& r) {
    moving(r);
    q_.skip(l_.movingTail);
  }

  void actionList(int depth) {
    constexpr uint16_t kMoveTo = 1, kEnter = 3, kAttack = 9, kMake = 21;
    constexpr int64_t kAttackBytes = 35;
    while (!q_.failed()) {
      const uint16_t type = q_.u16();
      if (type == 0) return;
      if (depth == kMaxActionDepth) {
        q_.fail();
        return;
      }
      q_.skip(l_.actionState + 16 + kVectorBytes + 4 + 1 + 2 + 1);
      actionList(depth + 1);
      q_.skip(2);  // sprite
      if (type == kMoveTo || type == kEnter || type == kMake) q_.skip(4);
      if (type == kAttack) q_.skip(kAttackBytes);
    }
  }

  void action(Record& r) {
    moving(r);
    q_.skip(l_.actionTail + 1 + 1);
    if (!l_.baseGame) q_.skip(2);  // selected group
    actionList(0);
  }

  void baseCombat(Record& r) {
    action(r);
    q_.skip(3 + 4 + 3 + 4);  // formation, attack timer, flags, attack count
  }

  void combat(Record& r) {
    // The Definitive Edition's AI kinds that hold more.
    constexpr int32_t kLongAi = 15, kOtherLongAi = 17;
    baseCombat(r);
    q_.skip(l_.combatHead + 1 + 1);
    ownType();
    q_.skip(12 + 2 + 4 + 4);
    if (!l_.baseGame) q_.skip(1);
    const int32_t ai = q_.i32();
    if (ai != 0) unitAi(ai == kLongAi || ai == kOtherLongAi);
    if (l_.definitive && placeFollows(ai)) q_.skip(kVectorBytes + 1);
    q_.skip(1 + 4 + 4 + 4);  // the town bell's flag, target and place
    if (!l_.baseGame) q_.skip(4 + 4 + 4);
    q_.skip(4 + 1);
    if (!l_.baseGame) q_.skip(1);
    q_.skip(l_.combatTail);
    if (ai == kLongAi) q_.skip(l_.kind15CombatTail);
  }

  bool placeFollows(int32_t ai) {
    constexpr int32_t kPlacedAi = 4;
    if (!l_.placeWithoutKind) return ai == kPlacedAi;
    static constexpr char kUnrungBell[] = {'\x00', '\xFF', '\xFF', '\xFF', '\xFF'};
    for (int64_t k = 0; k < static_cast<int64_t>(sizeof kUnrungBell); ++k) {
      const auto byte = bytes_.u8(q_.position() + k);
      if (!byte) return false;  // past the end: the next read fails the walk
      if (*byte != static_cast<uint8_t>(kUnrungBell[k])) return true;
    }
    return false;
  }

  void unitAi(bool longKind) {
    q_.skip(108 + l_.aiAfterWaypoint);
    skipCounted(q_.i32(), kOrderBytes);
    skipCounted(q_.i32(), kNotificationBytes);
    skipCounted(q_.i32(), 4);  // attacking units
    q_.skip(1 + 1 + 8 + 4 + 1 + 4);
    if (q_.i32() != 0) unknownForm();  // a patrol path
    q_.skip(4);
    skipCounted(q_.i32(), kOrderHistoryBytes);
    q_.skip(4 + 4);
    skipCounted(q_.i32(), kRetargetBytes);
    q_.skip(4 + 1 + l_.unitAiTail);
    if (l_.aiClosingPlace) closingPlace();
    if (longKind) q_.skip(l_.aiKindTail);
  }

  void closingPlace() {
    constexpr uint8_t kPlaced = 1;
    if (q_.u8() != kPlaced) {
      unknownForm();
      return;
    }
    q_.skip(kVectorBytes + 2);
  }

  void building() {
    q_.skip(1 + 4 + 4 + 1 + 1 + 4 + 4 + 4 + 4);
    q_.skip(4 + kVectorBytes + 4 + 2);  // the gather point
    q_.skip(1 + 4 + 4 + 4 * l_.linkedChildren + 1);
    actionList(0);
    if (l_.researchList) actionList(0);
    skipCounted(q_.u16(), 4);  // the production queue
    q_.skip(2 + 2 + 1);
    actionList(0);
    q_.skip(2 * kVectorBytes + 4 + 4 + 4 + 1 + 1);
    if (!l_.baseGame) q_.skip(1);
    q_.skip(l_.buildingTail);
  }

  // A unit's own copy of its type, where it has one.
  void ownType() {
    if (q_.u8() == 0) return;
    if (l_.definitive) {  // its form in this edition
      unknownForm();
      return;
    }
    const uint8_t type = q_.u8();
    const bool known = type == kStatic || type == kBaseType || type == kAnimated ||
                       type == kDoppelganger || type == kMoving || type == kAction ||
                       type == kBaseCombat || type == kMissile || type == kCombat ||
                       type == kBuilding;
    if (!known) {
      q_.fail();
      return;
    }
    const uint16_t nameLength = q_.u16();
    q_.skip(107);
    if (!l_.baseGame) q_.skip(4);
    q_.skip(2 + kVectorBytes + 21);
    skipCounted(q_.u8(), 5);  // damage sprites
    q_.skip(6);
    q_.skip(nameLength);
    q_.skip(4);
    if (type >= kAnimated) q_.skip(4);
    if (type >= kMoving) q_.skip(37);
    if (type >= kAction) q_.skip(20);
    if (type >= kBaseCombat) {
      q_.skip(l_.baseGame ? 1 : 2);
      skipCounted(q_.u16(), 4);  // attacks
      skipCounted(q_.u16(), 4);  // armours
      q_.skip(56);
    }
    if (type == kMissile) q_.skip(9);
    if (type >= kCombat) q_.skip(65);
    if (type == kBuilding) q_.skip(l_.baseGame ? 80 : 82);
  }

  void unknownForm() {
    if (!q_.failed()) unknownForm_ = true;
    q_.fail();
  }

  ByteSpan bytes_;
  ByteReader q_;
  const ObjectRecordLayout& l_;
  int64_t records_ = 0;
  bool unknownForm_ = false;
};

// Records a candidate walked whole before it stopped at one of a form not
// known: enough that the candidate was the block's lists.
constexpr int64_t kRecordsBeforeUnknownForm = 8;

void keepRecord(const Record& record, int32_t player, MapObjects& objects) {
  if (player == 0) {
    if (isOneOf(record.unit, kGold)) objects.gold.push_back(record.at);
    if (isOneOf(record.unit, kStone)) objects.stone.push_back(record.at);
    if (record.unit == kRelic) objects.relics.push_back(record.at);
    if (record.unit >= kFirstCliff && record.unit <= kLastCliff)
      objects.cliffs.push_back(record.at);
    return;
  }
  if (record.type != kBuilding) return;
  objects.buildings.push_back({player, record.at, isOneOf(record.unit, kTownCentres), record.id});
}

// The three lists of one block at start, into objects; the first byte after
// them, or nullopt when they do not walk whole. walked grows by the bytes
// the walk stepped over either way.
std::optional<int64_t> walkBlock(ByteSpan header, int64_t start, const ObjectRecordLayout& layout,
                                 const ObjectSearch& search, int32_t player, MapObjects& objects,
                                 int64_t& walked, bool& unknownForm) {
  RecordWalk walk(header, start, layout);
  MapObjects found;
  const auto owner = static_cast<uint8_t>(player);
  for (int list = 0; list < kLists; ++list) {
    if (!walk.list(owner, search, [&](const Record& r) { keepRecord(r, player, found); })) {
      walked += std::max<int64_t>(walk.q().position() - start, 1);
      if (walk.stoppedAtUnknownForm() && walk.records() >= kRecordsBeforeUnknownForm)
        unknownForm = true;
      return std::nullopt;
    }
  }
  walked += walk.q().position() - start;
  const auto append = [](auto& to, const auto& from) {
    to.insert(to.end(), from.begin(), from.end());
  };
  append(objects.gold, found.gold);
  append(objects.stone, found.stone);
  append(objects.relics, found.relics);
  append(objects.cliffs, found.cliffs);
  append(objects.buildings, found.buildings);
  return walk.q().position();
}

// The offset of a list marker whose first record could be the player's:
// a known type owned by the player. Every block holds objects at the start.
bool couldOpenBlock(ByteSpan header, int64_t at, int32_t player) {
  constexpr int64_t kFirstType = 9;
  const auto type = header.u8(at + kFirstType);
  const auto owner = header.u8(at + kFirstType + 1);
  if (!type || !owner || *owner != player) return false;
  switch (*type) {
    case kStatic:
    case kAnimated:
    case kDoppelganger:
    case kMoving:
    case kAction:
    case kBaseCombat:
    case kMissile:
    case kCombat:
    case kBuilding:
    case kTree:
      return true;
    default:
      return false;
  }
}

}  // namespace

MapObjects readMapObjects(ByteSpan header, const ObjectRecordLayout& layout,
                          const ObjectSearch& search) {
  MapObjects objects;
  if (!layout.known) {
    objects.notRead = "the records of this version are not known";
    return objects;
  }
  const std::string_view marker("\x0B", 1);
  // Candidates that walk far before failing could make the search quadratic
  // on a crafted header; real ones fail within a few bytes. Past this many
  // bytes walked, the lists count as not found.
  const int64_t budget = 4 * header.size() + 4096;
  int64_t walked = 0;
  int64_t from = search.from;
  for (int32_t player = 0; player < search.blocks; ++player) {
    std::optional<int64_t> end;
    bool unknownForm = false;
    while (!end) {
      const int64_t at = header.findForward(marker, from, search.limit - 1);
      if (at == ByteSpan::kNotFound || walked > budget) {
        const std::string lists =
            player == 0 ? "Gaia's lists" : "the lists of player " + std::to_string(player);
        objects.notRead = unknownForm ? lists + " hold an object in a form not known"
                                      : lists + " were not found";
        objects.read = player > 0;
        return objects;
      }
      if (couldOpenBlock(header, at, player))
        end = walkBlock(header, at, layout, search, player, objects, walked, unknownForm);
      from = at + 1;
    }
    from = *end;
  }
  objects.read = true;
  return objects;
}

MapObjects readStartingObjects(ByteSpan header, const HeaderLayout& layout, int64_t from,
                               int64_t listEnd, const GameEntry& entry, bool restored) {
  MapObjects none;
  if (restored) {
    none.notRead = "a restored game";
    return none;
  }
  if (from <= 0 || entry.playerCount <= 0) {
    none.notRead = "the map was not read";
    return none;
  }
  ObjectSearch search;
  search.from = from;
  search.limit = listEnd > from ? listEnd : header.size();
  search.blocks = entry.playerCount;
  search.mapWidth = entry.mapWidth;
  search.mapHeight = entry.mapHeight;
  return readMapObjects(header, layout.objects, search);
}

void readDefinitiveStarts(ByteSpan header, const DefinitiveLayout& layout, int64_t from,
                          GameEntry& entry) {
  // The byte after the values is 0x0B in every edition's blocks: a walk
  // with the wrong count of arrays does not land on it.
  constexpr uint8_t kCountMarker = 0x16, kValuesMarker = 0x21, kAfterValues = 0x0B;
  constexpr int64_t kMaxValues = 4096;
  if (layout.startValueArrays == 0 || from <= 0) return;
  for (std::size_t number = 1; number < PlayerSlots::kCount; ++number) {
    PlayerSlot& slot = entry.slots[number];
    const std::string_view name(slot.name, strnlen(slot.name, sizeof slot.name));
    if (name.empty()) continue;
    // The block's stored name: its length + 1, the bytes, a NUL, the count's marker.
    std::string stored;
    stored.push_back(static_cast<char>((name.size() + 1) & 0xFF));
    stored.push_back(static_cast<char>((name.size() + 1) >> 8));
    stored.append(name);
    stored.push_back('\0');
    stored.push_back(static_cast<char>(kCountMarker));
    for (;;) {
      const int64_t at = header.findForward(stored, from, header.size() - 1, 2);
      if (at == ByteSpan::kNotFound) return;  // the later blocks lie further on
      ByteReader q(header, at + static_cast<int64_t>(stored.size()));
      const int32_t values = q.i32();
      const bool block = q.u8() == kValuesMarker && values >= 0 && values <= kMaxValues;
      from = at + 1;
      if (!block || q.failed()) continue;
      q.skip(4 * int64_t{values} * layout.startValueArrays);
      const bool valuesEnd = q.u8() == kAfterValues;
      q.skip(4 + 4);  // camera
      const int32_t views = q.i32();
      if (views > 0) q.skip(8 * int64_t{views});
      const uint16_t x = q.u16();
      const uint16_t y = q.u16();
      if (q.failed() || !valuesEnd || views < 0 || x >= entry.mapWidth || y >= entry.mapHeight)
        continue;
      slot.start = MapPoint{static_cast<float>(x), static_cast<float>(y)};
      from = q.position();
      break;
    }
  }
}

std::map<int32_t, MapPoint> startPositionsOf(const MapObjects& objects, const GameEntry& entry) {
  std::map<int32_t, MapPoint> starts;
  for (const PlacedBuilding& building : objects.buildings) {
    if (building.townCentre) starts.emplace(building.player, building.at);
  }
  for (std::size_t k = 1; k < GameEntry::kPositions; ++k) {
    const int32_t number = entry.playerNumbers[k];
    if (number < 1 || number >= GameEntry::kPositions || starts.count(number)) continue;
    const auto& start = entry.slots[static_cast<std::size_t>(number)].start;
    if (start) starts.emplace(number, *start);
  }
  return starts;
}

}  // namespace morvane
