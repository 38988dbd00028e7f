// What the recording tells of each player beyond the result: when it clicked
// to advance an age, and the post-game block's record of its game.
#pragma once

#include <map>
#include <vector>

#include "recording/body_walk.h"
#include "recording/game_facts.h"
#include "recording/game_result.h"
#include "recording/post_game.h"

namespace morvane {

// The game time of the last click for each age, by player number: a research
// can be cancelled and clicked again, which the recording does not mark.
// Co-op seats share their number; numbers no list position holds are left out.
std::map<int32_t, AgeTimes> lastAgeClicks(const std::vector<AgeClick>& clicks, int64_t restoredAtMs,
                                          const Seats& seats);

// Fills facts.achievements and facts.ageReached by player number from the
// records of the positions that hold one; the first seat of a co-op number
// speaks for it.
void readPlayerRecords(const PostGame& block, const Seats& seats, GameFacts& facts);

}  // namespace morvane
