// How a game was played, command by command: what each player did and when.
// Read from the body on demand (the report, the inspector, the archive); the
// list's selection never pays for it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "recording/map_objects.h"

namespace morvane {

struct ResearchOrder {
  int64_t timeMs = 0;  // game time
  int32_t techId = 0;  // the game's own technology id
};

struct BuildOrder {
  int64_t timeMs = 0;
  int32_t buildingId = 0;  // the game's own unit id of the building
  MapPoint at;             // tile where it was placed
  // Walls and gates are laid from one tile to another.
  std::optional<MapPoint> to;
};

struct TrainOrder {
  int64_t timeMs = 0;
  int32_t unitId = 0;  // the game's own unit id
  int32_t count = 1;
};

struct TributeSent {
  int64_t timeMs = 0;
  int32_t toPlayer = 0;  // player number
  int32_t resource = 0;  // 0 food, 1 wood, 2 stone, 3 gold
  float amount = 0;
  float fee = 0;  // the market's cut, as a fraction
};

struct MarketTrade {
  int64_t timeMs = 0;
  bool buy = false;
  int32_t resource = 0;  // as TributeSent
  int32_t amount = 1;    // lots of 100 the command trades
};

struct PlayerPlay {
  // Commands that name this player, AI orders excluded: the public readers'
  // "effective" actions.
  int32_t actions = 0;
  // The same commands by minute of game time: [0] the first minute.
  std::vector<int32_t> actionsByMinute;
  std::vector<ResearchOrder> research;  // in body order
  std::vector<BuildOrder> buildings;
  std::vector<TrainOrder> units;
  std::vector<TributeSent> tributes;
  std::vector<MarketTrade> trades;
};

struct GamePlay {
  int64_t durationMs = 0;  // the game time walked
  std::map<int32_t, PlayerPlay> players;  // by player number
  // Train commands naming a building that no known player owns.
  int32_t unattributed = 0;
  // Commands whose layout is not known, by command type: counted, never
  // decoded by guess.
  std::map<int32_t, int32_t> undecoded;
};

// Actions per minute over the game: 0 for a game of no time.
inline double actionsPerMinute(const PlayerPlay& play, int64_t durationMs) {
  return durationMs > 0 ? play.actions * 60000.0 / static_cast<double>(durationMs) : 0.0;
}

}  // namespace morvane
