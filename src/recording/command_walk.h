// Every command of the body read for its player, type and fields: how the
// game was played. A pass of its own, asked for by the report, the inspector
// and the archive; parseGame never pays for it.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

#include "recording/byte_reader.h"
#include "recording/game_entry.h"
#include "recording/game_play.h"
#include "recording/game_version.h"

namespace morvane {

class RecordedGameFile;

// What the header tells the walk before the first command.
struct PlayStart {
  int64_t restoredAtMs = 0;  // added to every walk time
  // Objects whose owner is known (the buildings the header places), by id.
  std::unordered_map<uint32_t, int32_t> owners;
  // The players of the game: a command naming another number is not
  // counted for anyone.
  uint16_t players = 0;  // bit n: player number n
  // By list position: its player number. A co-op partner's commands name
  // its position where that is no player number of the game.
  std::array<int32_t, GameEntry::kPositions> seats = {};
};

// The commands of one body in the layout's forms.
GamePlay readGamePlay(ByteSpan body, int64_t bodyOffset, const BodyLayout& layout,
                      const PlayStart& start);

// The commands of a loaded recording whose entry parseGame filled.
GamePlay readGamePlay(const RecordedGameFile& file, const GameEntry& entry);

}  // namespace morvane
