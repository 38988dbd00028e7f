#include "recording/player_records.h"

#include <algorithm>

namespace morvane {
namespace {

constexpr int32_t kMsPerSecond = 1000;

bool holdsPlayer(const Seats& seats, int32_t number) {
  return number >= 1 && std::any_of(seats.begin() + 1, seats.end(),
                                    [&](const Seat& seat) { return seat.player == number; });
}

// The block's age times in whole seconds, -1 where the age was not reached.
AgeTimes reachedTimes(const Achievements::Technology& t) {
  AgeTimes times;
  const int32_t seconds[kAges] = {t.feudalTime, t.castleTime, t.imperialTime};
  for (int age = 0; age < kAges; ++age) {
    if (seconds[age] >= 0)
      times.ms[static_cast<std::size_t>(age)] = int64_t{seconds[age]} * kMsPerSecond;
  }
  return times;
}

}  // namespace

std::map<int32_t, AgeTimes> lastAgeClicks(const std::vector<AgeClick>& clicks, int64_t restoredAtMs,
                                          const Seats& seats) {
  std::map<int32_t, AgeTimes> last;
  for (const AgeClick& click : clicks) {
    if (!holdsPlayer(seats, click.player)) continue;
    last[click.player][click.age] = restoredAtMs + click.timeMs;  // body order is time order
  }
  return last;
}

void readPlayerRecords(const PostGame& block, const Seats& seats, GameFacts& facts) {
  for (std::size_t k = 0; k < block.records.size(); ++k) {
    const std::optional<Achievements>& record = block.records[k];
    const int32_t number = seats[k + 1].player;
    if (!record || number < 1 || facts.achievements.count(number)) continue;
    facts.achievements[number] = *record;
    facts.ageReached[number] = reachedTimes(record->technology);
  }
}

}  // namespace morvane
