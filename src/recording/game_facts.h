// What a player asks of a recording first: how long the game lasted, how it
// ended and with what settings. Read once with the header; a row keeps them.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

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

struct GameFacts {
  int64_t durationMs = 0;  // restore time included
  int64_t restoredAtMs = 0;
  BodyStop stop = BodyStop::kEnd;
  std::vector<Resignation> resignations;  // first per player number, by time
  bool settled = false;                   // winners holds the result
  std::vector<int32_t> winners;           // player numbers, ascending
  GameSettings settings;

  bool restored() const { return restoredAtMs > 0; }
};

}  // namespace morvane
