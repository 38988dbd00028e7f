// Which recordings are one game. Each player who records a game writes their
// own file of it; the files agree on the game's identity where the header
// states one, on the world checksums the clients computed together, on the
// players and, but for a few tiles, on the map generated at the start; they
// differ in the point of view, the chat and how long each player stayed.
#pragma once

#include <cstddef>
#include <string>

#include "archive/recording_row.h"
#include "recording/game_entry.h"

namespace morvane::archive {

struct GameKey {
  std::string text;
  KeyCertainty certainty = KeyCertainty::kFile;
};

// How many of the body's first world checksums make a key: they come some 40
// seconds into the game and every 20 to 40 seconds after; a recording that
// ends before the third falls back to the map.
inline constexpr std::size_t kKeyedSyncChecksums = 3;

// The key of a parsed game, by the best identity it holds: the game id, the
// first world checksums, the map and players, else its file's content (so
// it shares a game only with its copies).
GameKey gameKeyOf(const GameEntry& entry, const std::string& contentHash);

}  // namespace morvane::archive
