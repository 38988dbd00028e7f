// The section reads: the eight team bytes, the reveal map setting, an int32,
// the map size, the population limit, this patch's fixed bytes (game type
// and lock teams first), a count of messages (each a length and its bytes),
// the map seed and the tail. Only the messages have no fixed length, so the
// count is looked for below the seed: where the lobby's settings before it
// agree with the block's (its population limit first, the rarest of them),
// and its messages end exactly at the seed.
#include "recording/de_lobby_chat.h"

#include <algorithm>

namespace morvane {
namespace {

constexpr int64_t kTeamBytes = 8;
constexpr int64_t kSettingsBeforePopulation = 4 + 4 + 4;  // reveal map, an int32, map size
// The messages a lobby can hold, and how far below the seed they may start.
constexpr int32_t kMaxMessages = 4096;
constexpr int64_t kMaxChatBytes = int64_t{1} << 20;
// Messages followed over all candidates: a crafted section can make every
// fourth byte a candidate whose messages run on for thousands of lengths.
// A real one has a few candidates, most of them failing at their first length.
constexpr int64_t kMaxMessagesFollowed = 16 * int64_t{kMaxMessages};

struct Candidate {
  int64_t teams;
  int64_t reveal;
  int64_t population;
  int64_t lockTeams;
};

Candidate fieldsBefore(int64_t countAt, const DefinitiveLayout& l) {
  Candidate c{};
  c.population = countAt - l.lobbyAfterPopulation - 4;
  c.lockTeams = c.population + 4 + 1;
  c.reveal = c.population - kSettingsBeforePopulation;
  c.teams = c.reveal - kTeamBytes;
  return c;
}

bool settingsAgree(ByteSpan header, const Candidate& c, const DefinitiveBlock& block) {
  const GameSettings& s = block.settings;
  if (header.i32(c.population) != s.populationLimit || header.i32(c.reveal) != s.revealMap) {
    return false;
  }
  const auto lock = header.u8(c.lockTeams);
  if (!lock || (*lock != 0) != s.lockTeams.value_or(false)) return false;
  for (std::size_t k = 0; k < block.players.size() && k < kTeamBytes; ++k) {
    if (block.players[k].number < 1) continue;  // a slot without a player
    if (header.u8(c.teams + static_cast<int64_t>(k)) != block.players[k].team) return false;
  }
  return true;
}

// The messages from countAt when they end exactly at seedAt; each length
// followed is taken from budget.
std::optional<std::vector<std::pair<int64_t, int32_t>>> messagesEndingAt(ByteSpan header,
                                                                         int64_t countAt,
                                                                         int64_t seedAt,
                                                                         int64_t& budget) {
  const auto count = header.i32(countAt);
  if (!count || *count < 0 || *count > kMaxMessages) return std::nullopt;
  std::vector<std::pair<int64_t, int32_t>> messages;
  int64_t p = countAt + 4;
  for (int32_t m = 0; m < *count; ++m) {
    if (--budget < 0) return std::nullopt;
    const auto length = header.i32(p);
    if (!length || *length < 0 || *length > seedAt - p - 4) return std::nullopt;
    messages.emplace_back(p + 4, *length);
    p += 4 + *length;
  }
  if (p != seedAt) return std::nullopt;
  return messages;
}

}  // namespace

std::optional<std::vector<std::pair<int64_t, int32_t>>> findDefinitiveLobbyChat(
    ByteSpan header, const DefinitiveLayout& layout, const DefinitiveBlock& block) {
  if (!block.settings.populationLimit) return std::nullopt;
  const int64_t seedAt = header.size() - layout.lobbyTail - 4;
  const int64_t lowestCount = std::max<int64_t>(block.end, seedAt - kMaxChatBytes);
  // Candidates stand where the block's population limit does, the fields
  // around it checked before any length is followed.
  const auto population = static_cast<uint32_t>(*block.settings.populationLimit);
  char pattern[4];
  std::size_t key = 0;
  for (std::size_t b = 0; b < sizeof pattern; ++b) {
    pattern[b] = static_cast<char>((population >> (8 * b)) & 0xFF);
    if (pattern[key] == 0 && pattern[b] != 0) key = b;
  }
  const std::string_view limit(pattern, sizeof pattern);
  const int64_t populationGap = 4 + layout.lobbyAfterPopulation;  // population to count
  std::optional<std::vector<std::pair<int64_t, int32_t>>> found;
  int64_t highestLast = seedAt - 4 - populationGap + 3;
  int64_t budget = kMaxMessagesFollowed;
  for (;;) {
    const int64_t at = header.findBackward(limit, highestLast, lowestCount - populationGap + 3, key);
    if (at == ByteSpan::kNotFound) break;
    highestLast = at + 2;
    const int64_t countAt = at + populationGap;
    const Candidate fields = fieldsBefore(countAt, layout);
    if (fields.teams < block.end || !settingsAgree(header, fields, block)) continue;
    auto messages = messagesEndingAt(header, countAt, seedAt, budget);
    // Past the budget, no reading is settled.
    if (budget < 0) return std::nullopt;
    if (!messages) continue;
    // Two readings that both check leave the chat unsettled.
    if (found) return std::nullopt;
    found = std::move(messages);
  }
  return found;
}

}  // namespace morvane
