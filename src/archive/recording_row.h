// What the index keeps of one recording file: the file's own facts, and when
// it loads, the game as that recording saw it and its players, with names
// already decoded to UTF-8. Read on any thread; written by the index.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text_decoder.h"
#include "recording/game_facts.h"

namespace morvane::archive {

// How sure a game key is that two recordings are one game.
enum class KeyCertainty {
  kGameId,    // the id the game's lobby gave it, as the header states it
  kSync,      // the world checksums of its first minutes, which every client
              // of one game writes alike
  kMap,       // the same players on the same generated map: one game
  kFixedMap,  // a scenario's map is the same every game: the same players
              // replaying it share the key
  kFile,      // nothing read to tell: only byte-identical copies share it
};
const char* certaintyName(KeyCertainty certainty);

enum class PlayerOutcome { kUnknown, kWon, kLost, kResigned };
const char* outcomeName(PlayerOutcome outcome);

struct PlayerRow {
  int32_t position = 0;  // list position 1..8
  int32_t number = 0;    // player number; co-op partners share one
  std::string name;      // UTF-8
  int32_t civId = 0;
  int32_t colourId = 0;
  std::string team;  // the team label, UTF-8
  PlayerOutcome outcome = PlayerOutcome::kUnknown;
  std::optional<int64_t> resignedMs;
  AgeTimes research;  // the last research command for each age
  AgeTimes reached;   // as the post-game block states it
  std::optional<int64_t> profileId;
  std::optional<int32_t> rating;
  // From the walk of every command (absent where the walk named no one):
  std::optional<double> actionsPerMinute;
  int32_t buildings = 0;  // build commands
  int32_t units = 0;      // units trained or queued, villagers included
  int32_t technologies = 0;  // technologies researched, each once
};

struct RecordingRow {
  // The file.
  std::string path;  // exact path (platform/exact_path.h)
  int64_t size = 0;
  int64_t modifiedMs = 0;   // last write, ms since 1970 UTC
  std::string contentHash;  // the same for byte-identical files
  std::string edition;      // the reader's name of the version
  std::string versionText;
  float saveVersion = 0;
  bool supported = false;
  bool loaded = false;
  std::string error;  // why it did not load

  // The game, where it loaded.
  std::string gameKey;
  KeyCertainty certainty = KeyCertainty::kFile;
  int32_t povNumber = 0;
  int32_t playerCount = 0;
  std::optional<std::string> mapType;  // the map type text, where the header has one
  std::optional<int32_t> mapId;
  std::string mapNameById;  // empty for a custom map or none
  int32_t mapWidth = 0;
  int32_t mapHeight = 0;
  GameSettings settings;
  int64_t durationMs = 0;
  int64_t restoredAtMs = 0;
  std::optional<int64_t> playedMs;  // when the game was played, where the recording states it
  bool settled = false;
  std::vector<int32_t> winners;
  int32_t codePage = 0;  // as found; 0 where nothing decided it
  std::vector<PlayerRow> players;
};

// Code page decoders of one thread, opened when first wanted.
class Decoders {
 public:
  explicit Decoders(int fallback) : fallback_(fallback) {}
  // The recording's code page where it found one the system knows,
  // otherwise the fallback.
  const platform::TextDecoder* forRecording(int32_t found);

 private:
  int fallback_;
  std::map<int, std::unique_ptr<platform::TextDecoder>> decoders_;
};

// Reads the file at path (never writing anything beside it). size and
// modifiedMs are the listing's, kept as they are.
RecordingRow readRecordingRow(const std::string& path, int64_t size, int64_t modifiedMs,
                              Decoders& decoders);

}  // namespace morvane::archive
