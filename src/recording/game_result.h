// How a game ended: who resigned when, and who won where the recording
// settles it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "recording/body_walk.h"
#include "recording/game_facts.h"
#include "recording/post_game.h"

namespace morvane {

// One list position of the header: its player number (0: empty) and team
// byte (1: no team; nullopt: the team bytes could not be read).
struct Seat {
  int32_t player = 0;
  std::optional<uint8_t> team;
  bool spectator = false;  // watches: neither wins nor loses
};
using Seats = std::array<Seat, 9>;  // by list position, 0 unused

// Fills facts.resignations, facts.settled and facts.winners.
void settleResult(const BodyWalk& walk, const std::optional<PostGame>& postGame, const Seats& seats,
                  GameFacts& facts);

}  // namespace morvane
