// The Definitive Edition's block and map, field by field in the order the
// edition writes them; what a patch added is taken from the layout row.
#include "recording/de_header.h"

#include "recording/de_ai_section.h"
#include "recording/map_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstring>
#include <string_view>
#include <utility>

namespace morvane {
namespace {

constexpr std::string_view kSeparator("\xA3\x5F\x02\x00", 4);
constexpr std::string_view kStringMarker("\x60\x0A", 2);
constexpr int kEntries = 8;
constexpr int64_t kMaxNameBytes = 255;
constexpr int64_t kMaxMapStringBytes = 4096;
constexpr int32_t kFixedStrategicNumbers = 59;
constexpr int kLaterStringBlocks = 20;
constexpr uint32_t kLastStringKey = 255;  // a block's keys below it (and above 0) end it
constexpr uint8_t kNoTeam = 1;
constexpr int32_t kFirstAgeId = 2;  // the edition's ages count from the Dark Age at 2
constexpr int32_t kEarlierTurnTimes = 9;

// The marker 60 0A, a uint16 length, the bytes.
std::string_view readString(ByteReader& q) {
  q.expect(kStringMarker);
  const uint16_t length = q.u16();
  return q.text(length, kMaxNameBytes);
}

void skipString(ByteReader& q) {
  q.expect(kStringMarker);
  q.skip(q.u16());
}

// A count the header states, refused when negative.
int32_t count(ByteReader& q) {
  const int32_t n = q.i32();
  if (n < 0) q.fail();
  return n;
}

// Keyed strings, each key 0 or at least 255, ended by a key between.
void skipStringBlock(ByteReader& q) {
  while (!q.failed()) {
    const auto key = static_cast<uint32_t>(q.i32());
    if (key > 0 && key < kLastStringKey) return;
    skipString(q);
  }
}

// The random map's strings name a script chosen by its file as
// "SUBSCRIBEDMODS:RANDOM_MAPS:<file>:<mod>:...", a colon between fields (as
// the public reader aoc-mgz describes the block); built-in maps write
// "NONE:NONE:::false". The ".rms" is dropped, as that reader names such maps.
std::string customMapNameIn(std::string_view text) {
  constexpr std::string_view kPrefix = "SUBSCRIBEDMODS:RANDOM_MAPS:";
  if (text.substr(0, kPrefix.size()) != kPrefix) return {};
  const std::string_view file = text.substr(kPrefix.size());
  return std::string(scriptMapName(file.substr(0, file.find(':'))));
}

// skipStringBlock's walk, keeping the first script named by its file.
void readRandomMapStrings(ByteReader& q, DefinitiveBlock& block) {
  while (!q.failed()) {
    const auto key = static_cast<uint32_t>(q.i32());
    if (key > 0 && key < kLastStringKey) return;
    q.expect(kStringMarker);
    const uint16_t length = q.u16();
    const std::string_view text = q.text(length, kMaxMapStringBytes);
    // A string cut short by the header's end or a NUL names nothing.
    if (q.failed() || text.size() != length || !block.customMapName.empty()) continue;
    block.customMapName = customMapNameIn(text);
  }
}

void readSettings(ByteReader& q, const DefinitiveLayout& l, DefinitiveBlock& block,
                  int32_t& players) {
  GameSettings& s = block.settings;
  if (l.build) block.build = q.i32();
  if (l.timestamp) {
    // 0 states no time.
    const uint32_t seconds = q.u32();
    if (seconds != 0) block.playedAt = seconds;
  }
  q.skip(4 + 4 + 4);              // the block's own version, interval and game options versions
  q.skip(4 * int64_t{count(q)});  // the installed DLCs' ids
  q.skip(4);                      // data set
  const int32_t first = q.i32();
  if (l.difficultyFirst) s.difficulty = first;
  q.skip(4);  // the map chosen, perhaps at random
  block.mapId = q.i32();
  s.revealMap = q.i32();
  s.victory = q.i32();
  q.skip(4);  // starting resources
  const int32_t age = q.i32();
  s.startingAge = age > 0 ? age - kFirstAgeId : 0;
  q.skip(4);  // ending age
  s.gameType = q.i32();
  q.expect(kSeparator);
  q.expect(kSeparator);
  s.speed = q.f32();
  q.skip(4);  // treaty length
  s.populationLimit = q.i32();
  players = q.i32();
  q.skip(4 + 4);  // an unused colour, the victory amount
  if (l.byteAfterVictoryAmount) q.skip(1);
  q.expect(kSeparator);
  q.skip(5);  // trade, team bonus, random positions, all technologies, starting units
  s.lockTeams = q.u8() != 0;
  q.skip(9);  // lock speed, multiplayer, cheats, ..., team positions
  if (l.battleRoyale) q.skip(4 + 4);
  if (l.handicapFlag) q.skip(1);
  if (l.flagAfterHandicap) q.skip(1);
  q.expect(kSeparator);
}

DefinitivePlayer readPlayer(ByteReader& q, const DefinitiveLayout& l) {
  DefinitivePlayer player;
  q.skip(4);  // DLC
  player.colourId = q.i32();
  q.skip(1 + 1);  // the colour and team chosen
  player.team = q.u8();
  q.skip(8 + 1);  // the data's checksum, the game's version
  player.civId = q.i32();
  if (l.customCivilisations) q.skip(4 * int64_t{count(q)});
  skipString(q);  // AI type
  q.skip(1);      // the AI's civilisation name
  const std::string_view aiName = readString(q);
  if (l.censoredName) skipString(q);
  player.name = std::string(readString(q));
  // A computer player is shown by its AI's name; its own name is empty.
  if (player.name.empty()) player.name = std::string(aiName);
  q.skip(4);  // player type
  player.profileId = q.i32();
  q.skip(4);
  player.number = q.i32();
  if (l.lobbyRatings) q.skip(4 + 4);
  q.skip(1 + 1);  // random civilisation preferred, custom AI
  if (l.handicapBytes) q.skip(8);
  if (l.entryTail) q.skip(4);
  if (l.entryString) skipString(q);
  return player;
}

void skipEmptySlot(ByteReader& q, const DefinitiveLayout& l) {
  if (l.customCivilisations) q.skip(4);
  q.skip(12);
  skipString(q);
  q.skip(1);
  skipString(q);
  skipString(q);
  q.skip(38);
  if (l.entryTail) q.skip(4);
}

void readPlayers(ByteReader& q, const DefinitiveLayout& l, int32_t players,
                 DefinitiveBlock& block) {
  if (players < 0 || players > kEntries) q.fail();
  const int entries = l.entriesForPlayersOnly ? players : kEntries;
  for (int k = 0; k < entries && !q.failed(); ++k) block.players.push_back(readPlayer(q, l));
  q.skip(9 + 3);  // fog of war, cheat notifications and coloured chat after nine bytes
  if (l.entriesForPlayersOnly) {
    for (int k = players; k < kEntries && !q.failed(); ++k) skipEmptySlot(q, l);
  }
  q.expect(kSeparator);
}

void readLobby(ByteReader& q, const DefinitiveLayout& l, DefinitiveBlock& block) {
  q.skip(1 + 1 + 4 + 1 + 1);  // ranked, spectators, visibility, hidden civilisations, matchmaking
  if (l.spectatorDelay) q.skip(4 + 1);
  readRandomMapStrings(q, block);
  q.skip(8);
  for (int b = 0; b < kLaterStringBlocks && !q.failed(); ++b) skipStringBlock(q);
  // Before the count was written, the int32 here is no count at all.
  const int32_t numbers =
      l.countedStrategicNumbers ? count(q) : (q.skip(4), kFixedStrategicNumbers);
  q.skip(4 * int64_t{numbers});
  const int32_t aiFiles = count(q);  // a uint64
  if (q.i32() != 0) q.fail();
  for (int32_t f = 0; f < aiFiles && !q.failed(); ++f) {
    q.skip(4);
    skipString(q);
    q.skip(4);
  }
  if (l.afterAiFiles) q.skip(8);
  for (uint8_t& byte : block.gameId) byte = q.u8();
  skipString(q);  // lobby name
  if (l.afterLobbyName) q.skip(8);
  skipString(q);  // modded data set
  q.skip(l.afterDataset);
  if (l.countedTail) {
    const int32_t values = count(q);
    q.skip(12 + 4 * int64_t{values});
  }
  skipString(q);
  if (l.settingsStrings) {
    skipString(q);
    skipString(q);
  }
  q.skip(5);
  if (l.byteBeforeEnd) q.skip(1);
  if (l.lastStringBlock) {
    skipString(q);
    q.skip(8);
  } else {
    q.skip(2);
  }
  if (l.endTimes) q.skip(4 + 4);
}

std::string teamLabel(uint8_t team) {
  if (team == kNoTeam) return "-";
  return std::to_string(static_cast<int>(team) - kNoTeam);
}

void fillPlayers(const DefinitiveBlock& block, GameEntry& entry) {
  for (auto& slot : entry.slots) {
    std::memset(slot.name, 0, sizeof slot.name);
    slot.civId = 0;
    slot.colourId = 0;
    slot.start.reset();
  }
  entry.playerNumbers.fill(0);
  for (auto& name : entry.playerNames) name.clear();
  for (auto& label : entry.teamLabels) label.clear();
  for (std::size_t k = 0; k < block.players.size() && k + 1 < GameEntry::kPositions; ++k) {
    const DefinitivePlayer& player = block.players[k];
    // An empty or closed slot is numbered -1 and holds no player.
    if (player.number < 1 || player.number >= GameEntry::kPositions) continue;
    entry.playerNumbers[k + 1] = player.number;
    entry.playerNames[k + 1] = player.name;
    entry.teamLabels[k + 1] = teamLabel(player.team);
    PlayerSlot& slot = entry.slots[static_cast<std::size_t>(player.number)];
    if (slot.name[0] != '\0') continue;  // co-op seats share their number's slot
    player.name.copy(slot.name, sizeof slot.name - 1);
    slot.civId = player.civId;
    slot.colourId = player.colourId;
  }
}

// From the map's tiles of tileBytes each to the restore time after them:
// the obstructions, then the visibility map stating the map's own size
// again. The restore time's offset, or nullopt where the walk does not land
// on that size.
std::optional<int64_t> walkPastTiles(ByteSpan header, const DefinitiveLayout& l, int64_t terrain,
                                     int64_t tileBytes, int32_t width, int32_t height) {
  const int64_t tiles = int64_t{width} * height;
  ByteReader q(header, terrain);
  q.skip(tileBytes * tiles);
  const int32_t obstructions = count(q);
  q.skip(4 + 4 * int64_t{obstructions});
  for (int32_t o = 0; o < obstructions && !q.failed(); ++o) q.skip(8 * int64_t{count(q)});
  const int32_t visibleWidth = q.i32();
  const int32_t visibleHeight = q.i32();
  q.skip(4 * tiles * (l.secondVisibility ? 2 : 1));
  if (!header.contains(q.position(), 4) || q.failed() || visibleWidth != width ||
      visibleHeight != height)
    return std::nullopt;
  return q.position();
}

// The tiles' width in this header: the row's, or where the row names a
// second width, the one whose walk lands on the visibility map. Both
// landing is a form no description settles: nullopt, as none landing is.
std::optional<std::pair<int64_t, int64_t>> tileWidthAndEnd(ByteSpan header,
                                                           const DefinitiveLayout& l,
                                                           int64_t terrain, int32_t width,
                                                           int32_t height) {
  const std::optional<int64_t> end = walkPastTiles(header, l, terrain, l.tileBytes, width, height);
  if (l.otherTileBytes == 0) {
    if (!end) return std::nullopt;
    return std::make_pair(l.tileBytes, *end);
  }
  const std::optional<int64_t> other =
      walkPastTiles(header, l, terrain, l.otherTileBytes, width, height);
  if (end.has_value() == other.has_value()) return std::nullopt;
  return end ? std::make_pair(l.tileBytes, *end) : std::make_pair(l.otherTileBytes, *other);
}

// The replay section and the map after the AI flag: the restore time's
// offset, where the game data begins, when the walk reached the map's end
// where its structure says, the visibility map stating the map's own size
// again; nullopt otherwise.
std::optional<int64_t> readMap(ByteSpan header, const DefinitiveLayout& l, int64_t aiFlag,
                               GameEntry& entry, int64_t& restoredAtMs) {
  const std::optional<int64_t> replay = replaySectionAt(header, aiFlag);
  if (!replay) return std::nullopt;
  ByteReader q(header, *replay);
  q.skip(24 + 4 + 17);  // times, speed, object ids and seeds
  const int32_t pov = q.u16();
  const int32_t playerCount = q.u8();
  q.skip(1 + 1);  // instant build, cheats
  q.skip(l.turnPerPlayer ? 24 + 4 * int64_t{playerCount} : 24 + 4 * int64_t{kEarlierTurnTimes});
  q.skip(8);
  const int32_t width = q.i32();
  const int32_t height = q.i32();
  if (q.failed()) return std::nullopt;
  entry.povIndex = pov;
  entry.playerCount = playerCount;
  // No map is larger than the header that holds its tiles; checked first,
  // the products below cannot overflow.
  if (width <= 0 || height <= 0) return std::nullopt;
  const int64_t tiles = int64_t{width} * height;
  if (tiles > header.size()) return std::nullopt;

  const int32_t records = count(q);
  for (int32_t r = 0; r < records && !q.failed(); ++r) {
    q.skip(2048 + 2 * tiles);
    q.skip(4 * int64_t{count(q)} + 4);
  }
  q.skip(2);  // all visible, and one byte
  if (q.failed()) return std::nullopt;
  const int64_t terrain = q.position();
  const auto tileWidth = tileWidthAndEnd(header, l, terrain, width, height);
  // Only a map walked to its end is given: a size read where the walk then
  // lost its way would be a size no game wrote.
  if (!tileWidth) return std::nullopt;
  const auto [tileBytes, end] = *tileWidth;
  // The game time a restored game was saved at.
  restoredAtMs = header.u32(end).value_or(0);

  entry.mapWidth = width;
  entry.mapHeight = height;
  // The field of the earlier editions' every-other-byte form has no
  // counterpart in these tiles: it holds the terrain ids too.
  const int64_t copied = std::min<int64_t>(tiles, TerrainTiles::kSize);
  header.copyStrided(terrain, tileBytes, copied, entry.mapTiles.write());
  header.copyStrided(terrain, tileBytes, copied, entry.mapTiles.writeTerrainIds());
  header.copyStrided(terrain + l.tileElevation, tileBytes, copied, entry.mapTiles.writeElevation());
  return end;
}

// The name each player's block in the game data states, by the number the
// block gives itself, from 1; empty where no block was found. A block opens
// (as aoc-mgz's description of the header has it) with its type, a byte, a
// byte toward each of the game's players and nine int32 stances toward
// players 0 to 8, 1 toward itself alone, then the allied view (an int32)
// and victory (a byte), its name (its length + 1 as a uint16, the bytes, a
// NUL) and the count of its values between the markers 0x16 and 0x21. Each
// block lies past the objects of the one before, which are not walked
// here, so the blocks are found by that structure, each position checked
// once, up to playerCount - 1 of them (Gaia's is not wanted).
std::array<std::string, kEntries + 1> blockNames(ByteSpan header, int64_t from,
                                                 int32_t playerCount) {
  constexpr int64_t kStances = 9;  // before 61.5, whatever the count of players
  constexpr int32_t kSelf = 1, kLowestStance = -1, kHighestStance = 4;
  constexpr uint8_t kCountMarker = 0x16, kValuesMarker = 0x21;
  constexpr int32_t kMaxValues = 4096;
  constexpr int64_t kAlliance = 4 + 1;
  std::array<std::string, kEntries + 1> names;
  const int32_t wanted = std::min(playerCount - 1, kEntries);
  int32_t found = 0;
  for (int64_t at = from + 4 * kStances + kAlliance; found < wanted && at < header.size(); ++at) {
    const uint16_t length = header.u16(at).value_or(0);
    if (length < 2 || length > kMaxNameBytes + 1) continue;
    const int64_t nul = at + 1 + length;
    const int32_t values = header.i32(nul + 2).value_or(-1);
    if (header.u8(nul) != 0 || header.u8(nul + 1) != kCountMarker ||
        header.u8(nul + 6) != kValuesMarker || values < 0 || values > kMaxValues)
      continue;
    const std::string_view name = header.text(at + 2, length - 1, kMaxNameBytes);
    if (static_cast<int64_t>(name.size()) != length - 1) continue;
    int64_t self = -1;
    bool stances = true;
    for (int64_t k = 0; k < kStances && stances; ++k) {
      const int32_t stance = header.i32(at - kAlliance - 4 * (kStances - k)).value_or(INT32_MIN);
      stances =
          stance >= kLowestStance && stance <= kHighestStance && !(stance == kSelf && self >= 0);
      if (stance == kSelf) self = k;
    }
    if (!stances || self < 1) continue;
    std::string& own = names[static_cast<std::size_t>(self)];
    if (!own.empty()) continue;
    own = std::string(name);
    ++found;
    at = nul;
  }
  return names;
}

// Each entry's name from its player's block in the game data, where the
// block states one; the first entry of a number alone, as co-op partners
// share their number's block.
void nameFromGameData(ByteSpan header, int64_t gameData, int32_t playerCount,
                      DefinitiveBlock& block) {
  std::array<std::string, kEntries + 1> names = blockNames(header, gameData, playerCount);
  for (DefinitivePlayer& player : block.players) {
    if (player.number < 1 || player.number > kEntries) continue;
    std::string& name = names[static_cast<std::size_t>(player.number)];
    if (name.empty()) continue;
    player.name = std::move(name);
    name.clear();
  }
}

}  // namespace

std::optional<DefinitiveBlock> readDefinitiveBlock(ByteSpan header,
                                                   const DefinitiveLayout& layout) {
  ByteReader q(header, layout.blockStart);
  DefinitiveBlock block;
  int32_t players = 0;
  readSettings(q, layout, block, players);
  readPlayers(q, layout, players, block);
  readLobby(q, layout, block);
  if (q.failed()) return std::nullopt;
  block.end = q.position();
  return block;
}

bool aiSectionHolds(ByteSpan header, const DefinitiveLayout& layout) {
  const std::optional<DefinitiveBlock> block = readDefinitiveBlock(header, layout);
  return !block || replaySectionAt(header, block->end).has_value();
}

DefinitiveHeader parseDefinitiveHeader(ByteSpan header, const DefinitiveLayout& layout,
                                       GameEntry& entry) {
  DefinitiveHeader result;
  entry.povIndex = entry.playerCount = entry.mapWidth = entry.mapHeight = 0;
  entry.mapTiles.fill(TerrainTiles::kUnfilled);
  result.block = readDefinitiveBlock(header, layout);
  if (!result.block) {
    DefinitiveBlock none;
    fillPlayers(none, entry);
    return result;
  }
  const std::optional<int64_t> gameData =
      readMap(header, layout, result.block->end, entry, result.restoredAtMs);
  result.mapRead = gameData.has_value();
  if (gameData && layout.profileIdAsName)
    nameFromGameData(header, *gameData, entry.playerCount, *result.block);
  fillPlayers(*result.block, entry);
  return result;
}

}  // namespace morvane
