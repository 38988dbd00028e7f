// The game list's tip for a parsed game: its length, game type and main
// settings, in the interface's language. Never the result.
#pragma once

#include <string>

#include "recording/game_entry.h"

namespace morvane::ui {

// Lines in the ANSI code page; empty for a row that has not been parsed.
std::string gameTipText(const GameEntry& entry);

}  // namespace morvane::ui
