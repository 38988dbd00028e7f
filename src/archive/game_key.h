// Which recordings are one game. Each player who records a game writes their
// own file of it; the headers of these files agree on the players and on the
// whole map the game generated at its start, and differ in the point of
// view, the chat and how long each player stayed.
#pragma once

#include <string>

#include "archive/recording_row.h"
#include "recording/game_entry.h"

namespace morvane::archive {

struct GameKey {
  std::string text;
  KeyCertainty certainty = KeyCertainty::kFile;
};

// The key of a parsed game. A header whose map was not read gives the key of
// its file's content, so it shares a game only with its copies.
GameKey gameKeyOf(const GameEntry& entry, const std::string& contentHash);

}  // namespace morvane::archive
