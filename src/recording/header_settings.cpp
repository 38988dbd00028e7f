// Speed from the replay's own fields, difficulty, lock teams and starting ages
// beside the player list, the victory block a fixed distance before it, and
// the lobby fields after the team bytes. A value the later edition's lobby
// block holds as well must agree with it.
#include "recording/header_settings.h"

#include <cmath>
#include <limits>

namespace morvane {
namespace {

constexpr int32_t kSeparator = -99;
constexpr int kAges = 16;

// The victory block: -99, then int32s; conquest, relics, explored and all
// each follow a 0.
constexpr int64_t kVictoryModeAt = 32;
constexpr int64_t kVictoryScoreAt = 36;
constexpr int64_t kVictoryTimeAt = 40;
constexpr int32_t kVictoryTimeLimit = 2;
constexpr int32_t kVictoryScoreLimit = 3;

// From the lobby's reveal-map int32.
constexpr int64_t kMapSizeAfterReveal = 8;
constexpr int64_t kPopulationAfterReveal = 12;
constexpr int64_t kGameTypeAfterReveal = 16;  // a byte, then lock teams

template <typename T>
void agree(std::optional<T>& field, T other) {
  if (field && *field != other) field.reset();
}

std::optional<int32_t> startingAge(ByteSpan header, const HeaderLayout& layout,
                                   const PlayerListPositions& list, int32_t playerCount) {
  if (playerCount < 1 || playerCount > kAges) return std::nullopt;
  const int64_t ages = list.listStart - layout.settings.agesBeforeMarker;
  std::optional<int32_t> age;
  for (int32_t k = 0; k < playerCount; ++k) {
    const auto value = header.i32(ages + 4 * int64_t{k});
    if (!value || (age && *age != *value)) return std::nullopt;
    age = value;
  }
  if (*age < layout.settings.standardAge) return std::nullopt;
  return *age - layout.settings.standardAge;
}

void readVictory(ByteSpan header, const HeaderLayout& layout, const PlayerListPositions& list,
                 GameSettings& settings) {
  const int64_t at = list.listStart - layout.settings.victoryBeforeMarker;
  if (header.i32(at) != kSeparator) return;
  settings.victory = header.i32(at + kVictoryModeAt);
  if (settings.victory == kVictoryTimeLimit) settings.victoryTime = header.i32(at + kVictoryTimeAt);
  if (settings.victory == kVictoryScoreLimit) {
    settings.victoryScore = header.i32(at + kVictoryScoreAt);
  }
}

void readLobbyFields(ByteSpan header, const SettingsLayout& layout, const TeamWalk& teams,
                     GameSettings& settings) {
  if (!teams.reached) return;
  const int64_t reveal = teams.teamBytes + layout.lobbyAfterTeams;
  settings.revealMap = header.i32(reveal);
  settings.mapSize = header.i32(reveal + kMapSizeAfterReveal);
  if (const auto population = header.i32(reveal + kPopulationAfterReveal)) {
    // A hostile header's value times the unit may not fit: no game writes that.
    const int64_t units = int64_t{*population} * layout.populationUnit;
    if (units >= 0 && units <= std::numeric_limits<int32_t>::max()) {
      settings.populationLimit = static_cast<int32_t>(units);
    }
  }
  if (!layout.lobbyGameType) return;
  if (const auto type = header.u8(reveal + kGameTypeAfterReveal)) settings.gameType = *type;
  if (const auto lock = header.u8(reveal + kGameTypeAfterReveal + 1)) {
    agree(settings.lockTeams, *lock != 0);
  }
}

void agreeWithLobbyBlock(const LobbySettings& lobby, GameSettings& settings) {
  agree(settings.speed, lobby.speed);
  agree(settings.populationLimit, lobby.population);
  agree(settings.mapSize, lobby.mapSize);
  agree(settings.difficulty, lobby.difficulty);
  agree(settings.lockTeams, lobby.teamsLocked);
}

}  // namespace

GameSettings readSettings(ByteSpan header, const HeaderLayout& layout,
                          const PlayerListPositions& list, const TeamWalk& teams,
                          int32_t playerCount) {
  GameSettings settings;
  if (list.mapBase) {
    const auto speed = header.f32(*list.mapBase + layout.settings.speed);
    if (speed && std::isfinite(*speed)) settings.speed = speed;
  }
  if (list.listStart > 0) {
    const int64_t firstEntry = list.listStart + layout.nameList.firstEntry;
    settings.difficulty = header.i32(firstEntry - layout.settings.difficultyBeforeList);
    if (const auto lock = header.i32(firstEntry - layout.settings.lockTeamsBeforeList)) {
      settings.lockTeams = *lock != 0;
    }
    settings.startingAge = startingAge(header, layout, list, playerCount);
    readVictory(header, layout, list, settings);
  }
  readLobbyFields(header, layout.settings, teams, settings);
  if (list.lobby) agreeWithLobbyBlock(list.lobby->settings, settings);
  return settings;
}

int64_t readRestoreTime(ByteSpan header, const PlayerListPositions& list, int32_t width,
                        int32_t height) {
  constexpr int64_t kObstructionBytes = 8;
  constexpr int64_t kVisibilityBytes = 4;  // per tile
  if (list.tilesEnd == 0 || list.tiles <= 0) return 0;
  ByteReader q(header, list.tilesEnd);
  const int32_t tables = q.i32();
  q.skip(4);
  if (tables < 0) q.fail();
  q.skip(4 * int64_t{tables});
  // Each read moves on, so a false count fails at the header's end.
  for (int32_t t = 0; t < tables && !q.failed(); ++t) {
    const int32_t obstructions = q.i32();
    if (obstructions < 0) q.fail();
    q.skip(kObstructionBytes * obstructions);
  }
  // The visibility map repeats the map's size: where it does not, the walk
  // went astray and nothing after it is the restore time.
  if (q.i32() != width || q.i32() != height) return 0;
  q.skip(kVisibilityBytes * list.tiles);
  const uint32_t restoredAt = static_cast<uint32_t>(q.i32());
  return q.failed() ? 0 : int64_t{restoredAt};
}

}  // namespace morvane
