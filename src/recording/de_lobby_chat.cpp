// The section reads: the eight team bytes, the reveal map setting, an int32,
// the map size, the population limit, this patch's fixed bytes (game type
// and lock teams first), a count of messages (each a length and its bytes),
// the map seed and the tail. Only the messages have no fixed length, so the
// count is looked for below the seed: where the lobby's settings before it
// agree with the block's, and its messages end exactly at the seed.
#include "recording/de_lobby_chat.h"

#include <algorithm>

namespace morvane {
namespace {

constexpr int64_t kTeamBytes = 8;
constexpr int64_t kSettingsBeforePopulation = 4 + 4 + 4;  // reveal map, an int32, map size
// The messages a lobby can hold, and how far below the seed they may start.
constexpr int32_t kMaxMessages = 4096;
constexpr int64_t kMaxChatBytes = int64_t{1} << 20;

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

// The messages from countAt when they end exactly at seedAt.
std::optional<std::vector<std::pair<int64_t, int32_t>>> messagesEndingAt(ByteSpan header,
                                                                         int64_t countAt,
                                                                         int64_t seedAt) {
  const auto count = header.i32(countAt);
  if (!count || *count < 0 || *count > kMaxMessages) return std::nullopt;
  std::vector<std::pair<int64_t, int32_t>> messages;
  int64_t p = countAt + 4;
  for (int32_t m = 0; m < *count; ++m) {
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
  const int64_t seedAt = header.size() - layout.lobbyTail - 4;
  const int64_t lowest = std::max<int64_t>(block.end, seedAt - kMaxChatBytes);
  std::optional<std::vector<std::pair<int64_t, int32_t>>> found;
  for (int64_t countAt = seedAt - 4; countAt >= lowest; --countAt) {
    const Candidate fields = fieldsBefore(countAt, layout);
    if (fields.teams < lowest || !settingsAgree(header, fields, block)) continue;
    auto messages = messagesEndingAt(header, countAt, seedAt);
    if (!messages) continue;
    // Two readings that both check leave the chat unsettled.
    if (found) return std::nullopt;
    found = std::move(messages);
  }
  return found;
}

}  // namespace morvane
