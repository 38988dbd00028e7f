// Round trip for stage tests: writes a header and body as a recording in a
// fresh folder, loads it with RecordedGameFile and parses it into an entry.
#pragma once

#include <cstdint>
#include <vector>

#include "recording/game_entry.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/sample_game.h"

namespace morvane::fixtures {

struct ParsedRecording {
  bool written = false;
  bool loaded = false;
  LoadError error = LoadError::kNone;
  GameVersion version;
  GameEntry entry;
};

// parseHeader (parseGame withFacts) runs only when the load answered true;
// start is the entry it writes into, so a test can see which fields a parse
// leaves alone.
ParsedRecording parseRecording(const std::vector<uint8_t>& header,
                               const std::vector<uint8_t>& body = {}, GameEntry start = {},
                               bool withFacts = false);
ParsedRecording parseSampleGame(const SampleGame& game, bool withFacts = false);

}  // namespace morvane::fixtures
