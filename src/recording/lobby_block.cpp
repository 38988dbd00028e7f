// The lobby block's structure: settings, then one entry per player (or, in
// the first version, a fixed table), then the lobby's own texts. Every
// section ends with a separator, which is checked where it must stand, never
// searched for: a name or a text may hold the same four bytes.
#include "recording/lobby_block.h"

#include <string_view>

namespace morvane {
namespace {

constexpr std::string_view kSeparator("\xA3\x5F\x02\x00", 4);
constexpr std::string_view kStringMarker("\x60\x0A", 2);

// Versions at which fields were added.
constexpr float kFirstVersion = 1000;
constexpr float kWithAiName = 1005;      // each player's AI name, the lobby's last text
constexpr float kWithPlayerFlag = 1006;  // one more setting, one more byte per player, ratings

constexpr int kPlayerEntries = 8;
constexpr int64_t kSettingsAfterMapId = 6;
constexpr int64_t kGameFlags = 12;  // trade, team bonus, ..., predators
constexpr int64_t kFlagsBeforeTeamsLocked = 5;

// uint16 length, the marker bytes 60 0A, then the text.
void skipString(ByteReader& q) {
  const uint16_t length = q.u16();
  q.expect(kStringMarker);
  q.skip(length);
}

void readSettings(ByteReader& q, float version, LobbySettings& settings) {
  q.skip(4 + 4);  // internal and game options versions
  const int32_t dlcCount = q.i32();
  if (dlcCount < 0) q.fail();
  q.skip(4 * int64_t{dlcCount});  // their ids
  settings.difficulty = q.i32();
  settings.mapSize = q.i32();
  settings.mapId = q.i32();
  // reveal map, victory, resources, starting and ending age, and one more
  // in the later versions, in an order that changed between them
  q.skip(4 * kSettingsAfterMapId);
  if (version >= kWithPlayerFlag) q.skip(4);
  q.expect(kSeparator);
  if (version == kFirstVersion) {
    skipString(q);  // map name
    skipString(q);
  }
  q.expect(kSeparator);
  settings.speed = q.f32();
  q.skip(4);  // treaty length
  settings.population = q.i32();
  q.skip(4 * 3);  // players, unused colour, victory amount
  q.expect(kSeparator);
  q.skip(kFlagsBeforeTeamsLocked);
  settings.teamsLocked = q.u8() != 0;
  q.skip(kGameFlags - kFlagsBeforeTeamsLocked - 1);
  q.expect(kSeparator);
}

void skipFirstVersionTable(ByteReader& q) {
  q.skip(120);
  q.expect(kSeparator);
  q.skip(40);
  for (int k = 0; k < kPlayerEntries; ++k) skipString(q);
  q.skip(16);
  q.expect(kSeparator);
  q.skip(10);
}

LobbyPlayer readPlayer(ByteReader& q, float version, bool ratings) {
  LobbyPlayer player;
  q.skip(4 + 4);  // dlc, colour
  if (version >= kWithPlayerFlag) q.skip(1);
  q.skip(2 + 4 + 1 + 4 + 4);  // unknown, data checksum, game version, team, civilisation
  skipString(q);              // AI type
  q.skip(1);                  // AI civilisation name index
  if (version >= kWithAiName) skipString(q);
  skipString(q);  // name
  q.skip(4);      // player type
  const auto low = static_cast<uint32_t>(q.i32());
  const auto high = static_cast<uint32_t>(q.i32());
  player.profileId = uint64_t{high} << 32 | low;
  player.number = q.i32();
  if (ratings) {
    player.rmRating = q.i32();
    player.dmRating = q.i32();
  }
  return player;
}

// The player entries and the separator after them. Some 1006 files hold two
// ratings per player and some do not, and nothing states which: the layout
// whose separator stands where it must is the one.
std::vector<LobbyPlayer> readPlayers(ByteReader& q, float version) {
  for (const bool ratings : {false, true}) {
    if (ratings && version < kWithPlayerFlag) break;
    ByteReader attempt = q;
    std::vector<LobbyPlayer> players;
    for (int k = 0; k < kPlayerEntries; ++k)
      players.push_back(readPlayer(attempt, version, ratings));
    attempt.skip(3 + 9);  // fog of war, cheat notifications, coloured chat, unknown
    attempt.expect(kSeparator);
    if (!attempt.failed()) {
      q = attempt;
      return players;
    }
  }
  q.fail();
  return {};
}

void readLobbyTexts(ByteReader& q, float version, LobbyBlock& block) {
  constexpr int64_t kMaxFileName = 260;
  q.skip(1 + 1 + 4 + 4);  // ranked, spectators, visibility, map file checksum
  skipString(q);          // scenario
  q.skip(8);
  const uint16_t length = q.u16();
  q.expect(kStringMarker);
  const std::string_view mapFile = q.text(length, kMaxFileName);
  // A name cut short by the limit or a NUL is no file's.
  if (mapFile.size() == length) block.mapFile = std::string(mapFile);
  q.skip(8);
  skipString(q);  // the map file's scenario
  q.skip(8);
  GameGuid& id = block.gameId.emplace();
  for (uint8_t& byte : id) byte = q.u8();
  skipString(q);  // lobby name
  skipString(q);  // modded data set
  q.skip(4);      // its workshop id
  if (version >= kWithAiName) {
    q.skip(4);
    skipString(q);
    q.skip(4);
  }
}

}  // namespace

std::optional<LobbyBlock> readLobbyBlock(ByteSpan header, int64_t start) {
  ByteReader q(header, start);
  LobbyBlock block;
  block.version = q.f32();
  if (q.failed() || !(block.version >= kFirstVersion)) return std::nullopt;
  readSettings(q, block.version, block.settings);
  if (block.version == kFirstVersion) {
    skipFirstVersionTable(q);
  } else {
    block.players = readPlayers(q, block.version);
    readLobbyTexts(q, block.version, block);
  }
  if (q.failed()) return std::nullopt;
  block.end = q.position();
  return block;
}

}  // namespace morvane
