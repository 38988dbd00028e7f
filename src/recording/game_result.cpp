// A complete post-game block is the answer. Otherwise a player is out once
// every seat of its number has resigned, and the players of the one team
// left win; anything else is left unsettled.
#include "recording/game_result.h"

#include <algorithm>
#include <map>
#include <set>

namespace morvane {
namespace {

constexpr int kNumbers = 9;  // player numbers 1..8
constexpr uint8_t kNoTeam = 1;

bool isPlayerNumber(int32_t n) { return n >= 1 && n < kNumbers; }

struct Player {
  std::set<int32_t> seats;
  std::set<int32_t> seatsResigned;
  bool resigned = false;
  std::optional<uint8_t> team;

  bool out() const {
    if (!resigned) return false;
    if (seats.size() <= 1) return true;
    return std::includes(seatsResigned.begin(), seatsResigned.end(), seats.begin(), seats.end());
  }
};

void listResignations(const BodyWalk& walk, std::array<Player, kNumbers>& players,
                      GameFacts& facts) {
  for (const SeatResignation& r : walk.resignations) {
    if (!isPlayerNumber(r.player)) continue;
    Player& player = players[static_cast<std::size_t>(r.player)];
    if (player.seats.empty()) continue;  // no such player in the list
    // The body's times count from the restore.
    if (!player.resigned) facts.resignations.push_back({r.player, facts.restoredAtMs + r.timeMs});
    player.resigned = true;
    player.seatsResigned.insert(r.seat);
  }
  // Body order is time order; stable for equal times.
  std::stable_sort(facts.resignations.begin(), facts.resignations.end(),
                   [](const Resignation& a, const Resignation& b) { return a.timeMs < b.timeMs; });
}

// The one team with a player not out, when there were at least two teams.
std::optional<std::vector<int32_t>> lastTeam(const std::array<Player, kNumbers>& players) {
  std::map<int32_t, std::vector<int32_t>> teams;  // team key -> player numbers
  for (int32_t n = 1; n < kNumbers; ++n) {
    const Player& player = players[static_cast<std::size_t>(n)];
    if (player.seats.empty()) continue;
    if (!player.team) return std::nullopt;
    // A player without a team is a team of its own.
    const int32_t key = *player.team == kNoTeam ? -n : *player.team;
    teams[key].push_back(n);
  }
  if (teams.size() < 2) return std::nullopt;
  const std::vector<int32_t>* standing = nullptr;
  for (const auto& [key, members] : teams) {
    const bool allOut = std::all_of(members.begin(), members.end(), [&](int32_t n) {
      return players[static_cast<std::size_t>(n)].out();
    });
    if (allOut) continue;
    if (standing) return std::nullopt;
    standing = &members;
  }
  if (!standing) return std::nullopt;
  return *standing;
}

}  // namespace

void settleResult(const BodyWalk& walk, const std::optional<PostGame>& postGame, const Seats& seats,
                  GameFacts& facts) {
  std::array<Player, kNumbers> players;
  for (int32_t k = 1; k < static_cast<int32_t>(seats.size()); ++k) {
    const Seat& seat = seats[static_cast<std::size_t>(k)];
    if (!isPlayerNumber(seat.player) || seat.spectator) continue;
    Player& player = players[static_cast<std::size_t>(seat.player)];
    if (player.seats.empty()) player.team = seat.team;
    player.seats.insert(k);
  }
  listResignations(walk, players, facts);

  facts.winners.clear();
  if (postGame && postGame->complete) {
    for (int k = 0; k < postGame->playerCount; ++k) {
      if (postGame->victory[static_cast<std::size_t>(k)]) facts.winners.push_back(k + 1);
    }
    facts.settled = true;
    return;
  }
  const auto team = lastTeam(players);
  facts.settled = team.has_value();
  if (team) facts.winners = *team;
}

}  // namespace morvane
