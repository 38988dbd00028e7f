// What a player asks of a recording first: how long the game lasted, how it
// ended and with what settings. Read once with the header; a row keeps them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "recording/game_version.h"
#include "recording/map_objects.h"

namespace morvane {

// The lobby's choices as the header stores them. A field the version does not
// store, or stores twice with two different values, is absent.
struct GameSettings {
  std::optional<float> speed;              // as stored: 1.0, 1.5, 2.0, ...
  std::optional<int32_t> populationLimit;  // units, whatever the version stores
  std::optional<int32_t> mapSize;
  std::optional<int32_t> revealMap;
  std::optional<int32_t> difficulty;
  // Counted from the game's own "standard" start: 0 standard, 1 dark, 2 feudal, ...
  std::optional<int32_t> startingAge;
  std::optional<int32_t> victory;
  std::optional<int32_t> victoryTime;   // years, with a time limit
  std::optional<int32_t> victoryScore;  // with a score limit
  std::optional<bool> lockTeams;
  std::optional<int32_t> gameType;
};

// Why the walk over the body ended.
enum class BodyStop {
  kEnd,              // at the body's end
  kNoStart,          // the body does not open with a start record
  kOverrun,          // an operation runs past the end or has a negative length
  kImplausibleStep,  // a time step of hours
  kUnknownOperation,
};

struct Resignation {
  int32_t player = 0;  // player number
  int64_t timeMs = 0;
};

// The three ages a player researches into, by index into AgeTimes.
enum class Age { kFeudal = 0, kCastle = 1, kImperial = 2 };
inline constexpr int kAges = 3;

// Game time in milliseconds per age; absent where the recording has none.
struct AgeTimes {
  std::array<std::optional<int64_t>, kAges> ms;
  std::optional<int64_t>& operator[](Age age) { return ms[static_cast<std::size_t>(age)]; }
  const std::optional<int64_t>& operator[](Age age) const {
    return ms[static_cast<std::size_t>(age)];
  }
};

// The post-game block's record of one player, as the game keeps it.
struct Achievements {
  int32_t totalScore = 0;
  bool victory = false;
  bool mvp = false;
  struct Military {
    int32_t score = 0, unitsKilled = 0, hitPointsKilled = 0, unitsLost = 0, buildingsRazed = 0,
            hitPointsRazed = 0, buildingsLost = 0, unitsConverted = 0;
  } military;
  struct Economy {
    int32_t score = 0, foodCollected = 0, woodCollected = 0, stoneCollected = 0, goldCollected = 0,
            tributeSent = 0, tributeReceived = 0, tradeGold = 0, relicGold = 0;
  } economy;
  struct Technology {
    // Ages in whole seconds, -1 where not reached, as the block stores them.
    int32_t score = 0, feudalTime = 0, castleTime = 0, imperialTime = 0, exploredPercent = 0,
            researchCount = 0, researchPercent = 0;
  } technology;
  struct Society {
    int32_t score = 0, totalWonders = 0, totalCastles = 0, relicsCaptured = 0, villagerHigh = 0;
  } society;
  // By opponent, players 1 to 8.
  std::array<int32_t, 8> unitsKilledOf = {};
  std::array<int32_t, 8> buildingsRazedOf = {};
  std::array<int32_t, 8> tributeSentTo = {};
};

// The id a game's lobby gave it, the same in every player's recording of it.
using GameGuid = std::array<uint8_t, 16>;

// A later-edition player's lobby profile.
struct HdProfile {
  uint64_t steamId = 0;
  int32_t rmRating = 0;
  int32_t dmRating = 0;
};

struct GameFacts {
  GameVersion version;     // the game that wrote the recording
  // The Definitive Edition's build, where its header states it: it chooses
  // the body's command forms.
  std::optional<int32_t> definitiveBuild;
  // When the game was played, seconds since 1970 UTC, where the header
  // states it (the Definitive Edition from 26.16).
  std::optional<int64_t> playedAt;
  int64_t durationMs = 0;  // restore time included
  int64_t restoredAtMs = 0;
  BodyStop stop = BodyStop::kEnd;
  std::vector<Resignation> resignations;  // first per player number, by time
  bool settled = false;                   // winners holds the result
  std::vector<int32_t> winners;           // player numbers, ascending
  GameSettings settings;
  // Keyed by player number; co-op seats of one number share an entry.
  std::map<int32_t, AgeTimes> ageUps;      // the last research command for each age
  std::map<int32_t, AgeTimes> ageReached;  // as the post-game block states it
  std::map<int32_t, Achievements> achievements;
  std::map<int32_t, HdProfile> hdProfiles;
  std::map<int32_t, int32_t> profileIds;  // the Definitive Edition's, by player number
  std::optional<int32_t> mapId;           // as the header's game settings state it
  // A custom map's name, from the script file the later edition's lobby
  // names (without ".rms"), in the recording's own text; empty otherwise.
  std::string mapScript;
  // The code page of the names and chat (1252, 932, 936, 949, 950, 65001),
  // decided from the recording; 0 where nothing decides it.
  int32_t codePage = 0;
  MapObjects objects;  // at the game's start
  // By player number, in tiles: the first town centre, else the start the
  // player's block states.
  std::map<int32_t, MapPoint> startPositions;
  // The game time of each line of the entry's game chat, where the body's
  // walk passed its message; empty when the lines cannot be paired with them.
  std::vector<std::optional<int64_t>> gameChatTimesMs;
  // What tells this game from every other: the id its header states (the
  // Definitive Edition, the later edition from its lobby block's second
  // version), and the world checksums of the body's first checksum blocks.
  std::optional<GameGuid> gameGuid;
  std::vector<uint32_t> syncChecksums;

  bool restored() const { return restoredAtMs > 0; }
};

}  // namespace morvane
