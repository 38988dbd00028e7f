// Each command read by the form its header's layout row names: where its
// player stands, and for research, buildings, training, tribute and trade
// the fields that say what was done. A type whose form is not known is
// counted, never read at a guessed offset.
#include "recording/command_walk.h"

#include <algorithm>

#include "recording/body_walk.h"
#include "recording/recorded_game_file.h"

namespace morvane {
namespace {

// Command ids, the same in every edition that has them.
enum Command : uint8_t {
  kOrder = 0x00,
  kStop = 0x01,
  kWork = 0x02,
  kMove = 0x03,
  kCreate = 0x04,
  kAddAttribute = 0x05,
  kGiveAttribute = 0x06,
  kAiOrder = 0x0A,
  kResign = 0x0B,
  kWaypoint = 0x10,
  kStance = 0x12,
  kGuard = 0x13,
  kFollow = 0x14,
  kPatrol = 0x15,
  kFormation = 0x17,
  kSave = 0x1B,
  kChapter = 0x20,
  kAttackMove = 0x21,
  kAutoScout = 0x26,
  kTransform = 0x29,
  kAbility = 0x2B,
  kAiQueue = 0x64,  // a computer player's training
  kResearch = 0x65,
  kBuild = 0x66,
  kGame = 0x67,
  kWall = 0x69,
  kDelete = 0x6A,
  kAttackGround = 0x6B,
  kTribute = 0x6C,
  kRepair = 0x6E,
  kRelease = 0x6F,
  kMultiQueue = 0x70,
  kGate = 0x72,
  kFlare = 0x73,
  kSpecial = 0x75,
  kQueue = 0x77,
  kGatherPoint = 0x78,
  kSell = 0x7A,
  kBuy = 0x7B,
  kDropRelic = 0x7E,
  kTownBell = 0x7F,
  kBackToWork = 0x80,
  kDefinitiveQueue = 0x81,
  kDefinitiveTribute = 0xC4,  // all four resources in one command
  kPostGame = 0xFF,
};

// The selection's "as before": no ids follow.
constexpr uint32_t kSameSelection = 0xFF;
constexpr int32_t kResources = 4;  // food, wood, stone, gold
// The Definitive Edition's tribute states wood, food, gold, stone.
constexpr int32_t kDefinitiveTributeOrder[kResources] = {1, 0, 3, 2};
constexpr int64_t kMinute = 60000;
// A crafted body's time steps must not grow the minutes without bound.
constexpr int64_t kMostMinutes = 7 * 24 * 60;

class PlayWalk : public CommandVisitor {
 public:
  PlayWalk(ByteSpan body, const BodyLayout& layout, const PlayStart& start)
      : body_(body), layout_(layout), start_(start), owners_(start.owners) {}

  GamePlay& play() { return play_; }

  void command(int64_t start, int32_t length, int64_t timeMs) override {
    at_ = start;
    length_ = length;
    timeMs_ = start_.restoredAtMs + timeMs;
    const uint8_t id = u8(0);
    bool known = true;
    switch (layout_.commands) {
      case CommandForm::kEarlier:
        known = earlier(id, false);
        break;
      case CommandForm::kDefinitive:
        known = earlier(id, true);
        break;
      case CommandForm::kDefinitiveRewritten:
        known = rewritten(id);
        break;
    }
    if (!known) ++play_.undecoded[id];
  }

 private:
  // Reads inside the command: the caller has checked its length.
  uint8_t u8(int64_t o) const { return *body_.u8(at_ + o); }
  int32_t i16(int64_t o) const { return *body_.i16(at_ + o); }
  uint16_t u16(int64_t o) const { return *body_.u16(at_ + o); }
  uint32_t u32(int64_t o) const { return *body_.u32(at_ + o); }
  float f32(int64_t o) const { return *body_.f32(at_ + o); }
  bool holds(int64_t bytes) const { return length_ >= bytes; }

  // A player of the game, else none.
  PlayerPlay* player(int32_t number) {
    if (number < 1 || number > 15) return nullptr;
    if (!(start_.players & (1u << number))) {
      if (number >= GameEntry::kPositions) return nullptr;
      number = start_.seats[static_cast<std::size_t>(number)];
      if (number < 1 || number > 15 || !(start_.players & (1u << number))) return nullptr;
    }
    return &play_.players[number];
  }

  // Counted as the player's action where the player is one of the game's.
  PlayerPlay* act(int32_t number) {
    PlayerPlay* p = player(number);
    if (!p) return nullptr;
    ++p->actions;
    const int64_t minute = std::min(timeMs_ / kMinute, kMostMinutes);
    if (static_cast<int64_t>(p->actionsByMinute.size()) <= minute) {
      p->actionsByMinute.resize(static_cast<std::size_t>(minute) + 1, 0);
    }
    ++p->actionsByMinute[static_cast<std::size_t>(minute)];
    return p;
  }

  void own(uint32_t object, int32_t number) {
    if (player(number)) owners_[object] = number;
  }

  // The last count ids of the command are the selected objects, after
  // fixed bytes; the player's own command makes them known as the player's.
  void ownSelected(uint32_t count, int64_t fixed, int32_t number) {
    if (count == 0 || count >= kSameSelection || !player(number)) return;
    const int64_t from = length_ - int64_t{count} * 4;
    if (from < fixed) return;
    for (int64_t o = from; o < length_; o += 4) owners_[u32(o)] = number;
  }

  // The player a building object is known to belong to; 0 where none is.
  int32_t ownerOf(uint32_t object) const {
    const auto it = owners_.find(object);
    return it == owners_.end() ? 0 : it->second;
  }

  void train(int32_t number, int32_t unit, int32_t count) {
    PlayerPlay* p = player(number);
    if (!p) {
      ++play_.unattributed;
      return;
    }
    p->units.push_back({timeMs_, unit, count});
  }

  void build(PlayerPlay* p, int32_t building, MapPoint at, std::optional<MapPoint> to) {
    if (p) p->buildings.push_back({timeMs_, building, at, to});
  }

  // The earlier editions' forms; the Definitive Edition before its rewrite
  // keeps them but for its research, wall, queue and tribute commands.
  bool earlier(uint8_t id, bool definitive) {
    switch (id) {
      case kOrder:
      case kMove:
        if (!holds(20)) return false;
        act(u8(1));
        ownSelected(u32(8), 20, u8(1));
        return true;
      case kCreate:
        if (!holds(5)) return false;
        act(u8(4));
        return true;
      case kAddAttribute:
      case kGiveAttribute:
      case kResign:
      case kSell:
      case kBuy:
        if (!holds(4)) return false;
        if (PlayerPlay* p = act(u8(1)); p && (id == kSell || id == kBuy)) {
          p->trades.push_back({timeMs_, id == kBuy, u8(2), u8(3)});
        }
        return true;
      case kFormation:
        if (!holds(8)) return false;
        act(i16(2));
        return true;
      case kResearch: {
        const int64_t techBytes = definitive ? 4 : 2;
        if (!holds(layout_.researchTechAt + techBytes) || !holds(10)) return false;
        const int32_t number = i16(8);
        const int32_t tech = definitive ? static_cast<int32_t>(u32(layout_.researchTechAt))
                                        : i16(layout_.researchTechAt);
        own(u32(4), number);
        if (PlayerPlay* p = act(number)) p->research.push_back({timeMs_, tech});
        return true;
      }
      case kBuild: {
        if (!holds(16)) return false;
        const int32_t number = i16(2);
        PlayerPlay* p = act(number);
        build(p, static_cast<int32_t>(u32(12)), {f32(4), f32(8)}, std::nullopt);
        ownSelected(u8(1), 24, number);
        return true;
      }
      case kGame:
        if (!holds(3)) return false;
        act(u8(2));
        return true;
      case kWall: {
        const bool shorts = definitive || layout_.wallEndsInShorts;
        const int64_t fixed = shorts ? 16 : 12;
        if (!holds(fixed)) return false;
        PlayerPlay* p = act(u8(2));
        if (shorts) {
          build(p, static_cast<int32_t>(u32(12)), {float(u16(4)), float(u16(6))},
                MapPoint{float(u16(8)), float(u16(10))});
        } else {
          build(p, static_cast<int32_t>(u32(8)), {float(u8(3)), float(u8(4))},
                MapPoint{float(u8(5)), float(u8(6))});
        }
        return true;
      }
      case kDelete:
        if (!holds(12)) return false;
        own(u32(4), static_cast<int32_t>(u32(8)));
        act(static_cast<int32_t>(u32(8)));
        return true;
      case kTribute:
        if (!holds(12)) return false;
        if (PlayerPlay* p = act(u8(1))) {
          p->tributes.push_back({timeMs_, u8(2), u8(3), f32(4), f32(8)});
        }
        return true;
      case kDefinitiveTribute:
        if (!definitive || !holds(24)) return false;
        if (PlayerPlay* p = act(u8(1))) {
          for (int32_t k = 0; k < kResources; ++k) {
            const float amount = f32(8 + 4 * k);
            if (amount > 0)
              p->tributes.push_back({timeMs_, u8(2), kDefinitiveTributeOrder[k], amount, 0});
          }
        }
        return true;
      case kFlare:
        if (!holds(29)) return false;
        act(u8(28));
        return true;
      case kQueue:
        if (!holds(12)) return false;
        train(ownerOf(u32(4)), i16(8), i16(10));
        return true;
      case kMultiQueue: {
        if (!holds(8)) return false;
        const int32_t buildings = u8(6);
        if (!holds(8 + int64_t{buildings} * 4)) return false;
        int32_t number = 0;
        for (int32_t k = 0; k < buildings && number == 0; ++k) number = ownerOf(u32(8 + 4 * k));
        train(number, i16(4), u8(7));
        return true;
      }
      case kAiQueue:
        if (!holds(12)) return false;
        own(u32(4), i16(8));
        train(i16(8), i16(10), 1);
        return true;
      case kDefinitiveQueue: {  // the later edition's too, from its 5.x patches
        if (!holds(10)) return false;
        const int32_t number = u8(1);
        act(number);
        train(number, i16(6), u8(8));
        return true;
      }
      case kStop:
      case kWork:
      case kAiOrder:
      case kWaypoint:
      case kStance:
      case kGuard:
      case kFollow:
      case kPatrol:
      case kAttackMove:
      case kAttackGround:
      case kRepair:
      case kRelease:
      case kGate:
      case kSpecial:
      case kGatherPoint:
      case kDropRelic:
      case kTownBell:
      case kBackToWork:
      case kPostGame:
      // A save and its chapter name their player, but are the recording's
      // doing, not the game's.
      case kSave:
      case kChapter:
        return true;  // nothing counted here
      case kAutoScout:
        return definitive;
      default:
        return false;
    }
  }

  // From the rewrite on: the player in the byte after the id, an int16
  // stating the bytes after it, and then the type's own fields.
  bool rewritten(uint8_t id) {
    constexpr int64_t kFields = 4;
    if (id == kPostGame) return true;
    if (!holds(kFields) || i16(2) != length_ - kFields) return false;
    const int32_t number = u8(1);
    PlayerPlay* p = id == kAiOrder || id == kAiQueue ? player(number) : act(number);
    const auto field = [&](int64_t bytes) { return holds(kFields + bytes); };
    switch (id) {
      case kResearch:
        if (!field(8) || !holds(layout_.researchTechAt + 2)) return false;
        own(u32(4), number);
        if (p) p->research.push_back({timeMs_, i16(layout_.researchTechAt)});
        return true;
      case kBuild:
        if (!field(16)) return false;
        build(p, static_cast<int32_t>(u32(16)), {f32(8), f32(12)}, std::nullopt);
        return true;
      case kWall:
        if (!field(16)) return false;
        build(p, static_cast<int32_t>(u32(16)), {float(u16(8)), float(u16(10))},
              MapPoint{float(u16(12)), float(u16(14))});
        return true;
      case kDefinitiveQueue:
        if (!field(12)) return false;
        train(number, i16(12), i16(14));
        return true;
      case kAiQueue:
        if (!field(10)) return false;
        train(number, i16(12), 1);
        return true;
      case kBuy:
      case kSell:
        if (!field(4)) return false;
        if (p) p->trades.push_back({timeMs_, id == kBuy, i16(4), i16(6)});
        return true;
      case kDefinitiveTribute:
        if (!field(41)) return false;
        if (p) {
          for (int32_t k = 0; k < kResources; ++k) {
            const float amount = f32(4 + 4 * k);
            if (amount > 0)
              p->tributes.push_back({timeMs_, u8(44), kDefinitiveTributeOrder[k], amount, 0});
          }
        }
        return true;
      case kDelete:
        if (!field(4)) return false;
        own(u32(4), number);
        return true;
      case kOrder:
      case kMove:
      case kStop:
      case kAiOrder:
      case kResign:
      case kStance:
      case kGuard:
      case kFollow:
      case kPatrol:
      case kFormation:
      case kAttackMove:
      case kGame:
      case kAttackGround:
      case kRepair:
      case kRelease:
      case kGate:
      case kFlare:
      case kSpecial:
      case kGatherPoint:
      case kDropRelic:
      case kTownBell:
      case kBackToWork:
      case kAutoScout:
      case kTransform:
      case kAbility:
        return true;  // the player is all that is read of these
      default:
        return false;
    }
  }

  ByteSpan body_;
  const BodyLayout& layout_;
  const PlayStart& start_;
  std::unordered_map<uint32_t, int32_t> owners_;
  GamePlay play_;
  int64_t at_ = 0;
  int32_t length_ = 0;
  int64_t timeMs_ = 0;
};

}  // namespace

GamePlay readGamePlay(ByteSpan body, int64_t bodyOffset, const BodyLayout& layout,
                      const PlayStart& start) {
  PlayWalk visitor(body, layout, start);
  const BodyWalk walk = walkBody(body, bodyOffset, layout, &visitor);
  GamePlay& play = visitor.play();
  play.durationMs = walk.durationMs;
  return std::move(play);
}

GamePlay readGamePlay(const RecordedGameFile& file, const GameEntry& entry) {
  const GameFacts& facts = entry.facts.read();
  BodyLayout layout = layoutFor(facts.version).body;
  if (facts.version.family == VersionFamily::kDE) {
    applyDefinitiveBuild(facts.definitiveBuild, layout);
  }
  PlayStart start;
  start.restoredAtMs = facts.restoredAtMs;
  for (const PlacedBuilding& building : facts.objects.buildings) {
    start.owners[building.objectId] = building.player;
  }
  for (int k = 1; k < GameEntry::kPositions; ++k) {
    const int32_t number = entry.playerNumbers[static_cast<std::size_t>(k)];
    if (number >= 1 && number <= 15) start.players |= static_cast<uint16_t>(1u << number);
    start.seats[static_cast<std::size_t>(k)] = number;
  }
  const ByteBuffer& body = file.bodyBytes();
  return readGamePlay(ByteSpan(body.data(), body.size()), file.bodyOffset(), layout, start);
}

}  // namespace morvane
