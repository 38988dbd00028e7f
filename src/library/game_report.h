// Everything the reader knows about one game, laid out for the report
// window: the players' rows, the game's facts and its chat as texts. The
// window only draws what this holds; labels and the names of the settings'
// choices are the window's own, so they come as numbers here. Every text is
// UTF-8: what the recording wrote is decoded from its own code page.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/build_order.h"
#include "recording/game_entry.h"
#include "recording/game_play.h"

namespace morvane {

// What the report can say of the row it follows.
enum class ReportState {
  kGame,       // a parsed game
  kFolder,     // a folder row: nothing to report
  kNotLoaded,       // the file did not load (damaged, cut short)
  kUnknownEdition,  // refused: no version the reader knows wrote it
};

enum class PlayerResult { kNone, kWon, kResigned };

struct ReportPlayer {
  int32_t position = 0;     // list position 1..8, the pane's slot
  std::string name;
  int32_t colourIndex = 0;  // slot colour index, as the pane colours the name
  std::string civilisation;  // as the game's Japanese editions name it
  std::string team;
  PlayerResult result = PlayerResult::kNone;
  int64_t resignedAtMs = 0;  // with kResigned
  // Feudal, Castle, Imperial: "research (reached)", either part where known.
  std::array<std::string, kAges> ages;
  std::string score;   // empty where the recording has none
  std::string rating;  // empty where the recording has none
  int32_t playerNumber = -1;  // -1 for a position outside the players
  // Feudal, Castle, Imperial: reached where known, else the research click.
  std::array<std::optional<int64_t>, kAges> ageMs;
  // From the walk of every command, when the report has it (hasPlay):
  std::optional<double> actionsPerMinute;
  std::vector<int32_t> actionsByMinute;
  std::vector<BuildStep> buildOrder;
  std::vector<std::string> buildOrderText;  // one line a step
};

// The game's facts, in the order the report lists them.
enum class ReportFact {
  kPlayedAt,  // where the recording states when the game was played
  kLength,
  kVersion,
  kMap,
  kMapSize,
  kSpeed,
  kPopulation,
  kRevealMap,
  kStartingAge,
  kVictory,
  kDifficulty,
  kLockTeams,
  kRestoredAt,
};
inline constexpr int kReportFacts = static_cast<int>(ReportFact::kRestoredAt) + 1;

// One fact: the name of a setting's choice where choice >= 0 (its index in
// that setting's names, setting_names.h; for lock teams 0 no, 1 yes), then
// text. A fact the recording does not hold has no line.
struct ReportLine {
  ReportFact fact = ReportFact::kLength;
  int32_t choice = -1;
  std::string text;
};

// One chat line: before the game (in the lobby) or during it, with its game
// time where the body's walk gives one.
struct ReportChat {
  bool inGame = false;
  std::optional<int64_t> timeMs;
  std::string text;
};

struct GameReport {
  ReportState state = ReportState::kNotLoaded;
  std::string fileName;
  std::string version;  // with kUnknownEdition: the version as the header states it
  std::vector<ReportPlayer> players;  // positions with a name, in order
  std::vector<ReportLine> facts;
  std::vector<ReportChat> chat;  // the lobby's lines, then the game's
  bool hasPlay = false;          // addPlay has been given the walk's result
  int64_t playDurationMs = 0;
};

// "h:mm:ss", the way the game shows time.
std::string clockText(int64_t ms);

// The report of a row's entry: a folder, a game that has not loaded (no
// parse result; a refused version is kept in its facts), or the parsed game.
GameReport buildGameReport(const GameEntry& entry);

// The walk of every command added to a game's report: each player's actions
// per minute, overall and minute by minute, and build order (its steps named
// by name). Co-op positions share their player number's play.
void addPlay(GameReport& report, const GamePlay& play, const StepNamer& name);

// The walk of every command of the recording at exactPath, whose entry
// parseGame filled (the walk takes the owners of the buildings the header
// places from it); nothing where the file does not load.
std::optional<GamePlay> readPlayOfRecording(const std::string& exactPath, const GameEntry& entry);

}  // namespace morvane
