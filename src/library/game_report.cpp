#include "library/game_report.h"

#include <algorithm>
#include <cstdio>

#include "library/civilisation_names.h"
#include "library/list_presentation.h"
#include "library/player_colours.h"
#include "library/recording_text.h"
#include "recording/command_walk.h"
#include "recording/map_names.h"
#include "recording/recorded_game_file.h"
#include "recording/setting_names.h"

namespace morvane {
namespace {

bool contains(const std::vector<int32_t>& numbers, int32_t number) {
  return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

// The player number at list position k, or -1 outside the nine blocks.
int32_t playerNumberAt(const GameEntry& entry, int position) {
  const int32_t number = entry.playerNumbers[static_cast<std::size_t>(position)];
  return number >= 0 && number < GameEntry::kPositions ? number : -1;
}

template <typename Value>
const Value* find(const std::map<int32_t, Value>& byPlayer, int32_t number) {
  const auto found = byPlayer.find(number);
  return found == byPlayer.end() ? nullptr : &found->second;
}

void settleResult(const GameFacts& facts, int32_t number, ReportPlayer& player) {
  if (facts.settled && contains(facts.winners, number)) {
    player.result = PlayerResult::kWon;
    return;
  }
  for (const Resignation& resignation : facts.resignations) {
    if (resignation.player != number) continue;
    player.result = PlayerResult::kResigned;
    player.resignedAtMs = resignation.timeMs;
    return;
  }
}

// "research (reached)", or the one that is known.
std::string ageText(const std::optional<int64_t>& research, const std::optional<int64_t>& reached) {
  std::string text;
  if (research) text = clockText(*research);
  if (reached) text += (text.empty() ? "(" : " (") + clockText(*reached) + ")";
  return text;
}

void addAges(const GameFacts& facts, int32_t number, ReportPlayer& player) {
  const AgeTimes none;
  const AgeTimes* research = find(facts.ageUps, number);
  const AgeTimes* reached = find(facts.ageReached, number);
  for (int age = 0; age < kAges; ++age) {
    const auto a = static_cast<Age>(age);
    const std::optional<int64_t>& clicked = (research ? *research : none)[a];
    const std::optional<int64_t>& got = (reached ? *reached : none)[a];
    player.ages[static_cast<std::size_t>(age)] = ageText(clicked, got);
    player.ageMs[static_cast<std::size_t>(age)] = got ? got : clicked;
  }
}

ReportPlayer playerAt(const GameEntry& entry, int position, const RecordingText& decode) {
  ReportPlayer player;
  const auto k = static_cast<std::size_t>(position);
  player.position = position;
  player.name = decode(entry.playerNames[k]);
  player.team = entry.teamLabels[k];
  const int32_t number = playerNumberAt(entry, position);
  if (number < 0) return player;
  player.playerNumber = number;
  const PlayerSlot& slot = entry.slots[static_cast<std::size_t>(number)];
  player.colourIndex = slotColourIndexOf(slot.colourId);
  player.civilisation = civilisationNameInJapanese(slot.civId);
  if (!entry.facts.allocated()) return player;
  const GameFacts& facts = entry.facts.read();
  settleResult(facts, number, player);
  addAges(facts, number, player);
  if (const Achievements* achievements = find(facts.achievements, number))
    player.score = std::to_string(achievements->totalScore);
  if (const HdProfile* profile = find(facts.hdProfiles, number))
    player.rating = std::to_string(profile->rmRating);
  return player;
}

void addLine(GameReport& report, ReportFact fact, int32_t choice, std::string text = {}) {
  report.facts.push_back({fact, choice, std::move(text)});
}

// A setting of fixed choices, when the stored value is one of them.
void addChoice(GameReport& report, ReportFact fact, std::optional<int32_t> value, int32_t count,
               std::string text = {}) {
  if (named(value, count)) addLine(report, fact, *value, std::move(text));
}

// kMapTypeNotFound, decoded: the reader writes it in code page 932 whatever
// the recording's own code page.
constexpr char kUnknownMap[] = u8"不明";

std::string mapText(const GameEntry& entry, const GameFacts& facts, const RecordingText& decode) {
  if (entry.mapName != kMapTypeNotFound) return decode(entry.mapName);
  if (!facts.mapScript.empty()) return decode(facts.mapScript);
  if (!facts.mapId) return kUnknownMap;
  const std::string_view byId = builtInMapName(*facts.mapId, facts.version.family);
  return byId.empty() ? kUnknownMap : std::string(byId);
}

// Lines as filterChat leaves them: each ends with "\r\n".
std::vector<std::string> chatLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\r', at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

void addChat(const GameEntry& entry, const RecordingText& decode, GameReport& report) {
  for (const std::string& line : chatLines(entry.lobbyChat))
    report.chat.push_back({false, std::nullopt, decode(line)});
  const std::vector<std::string> lines = chatLines(entry.gameChat);
  const std::vector<std::optional<int64_t>>* times = nullptr;
  if (entry.facts.allocated() && entry.facts.read().gameChatTimesMs.size() == lines.size())
    times = &entry.facts.read().gameChatTimesMs;
  for (std::size_t i = 0; i < lines.size(); ++i)
    report.chat.push_back({true, times ? (*times)[i] : std::nullopt, decode(lines[i])});
}

void addFacts(const GameEntry& entry, const RecordingText& decode, GameReport& report) {
  const GameFacts& facts = entry.facts.read();
  const GameSettings& s = facts.settings;
  if (facts.playedAt) addLine(report, ReportFact::kPlayedAt, -1, dateText(*facts.playedAt * 1000));
  addLine(report, ReportFact::kLength, -1, clockText(facts.durationMs));
  std::string version = versionName(facts.version.family);
  if (facts.version.saveVersion > 0) {
    char number[32];
    std::snprintf(number, sizeof number, " (%.2f)", static_cast<double>(facts.version.saveVersion));
    version += number;
  }
  addLine(report, ReportFact::kVersion, -1, version);
  addLine(report, ReportFact::kMap, -1, mapText(entry, facts, decode));
  // Tiles as the map holds them, where they fit in the tiles a map keeps: a
  // header read by a layout that is not its own gives other numbers.
  const bool tilesKnown = entry.mapWidth > 0 && entry.mapHeight > 0 &&
                          int64_t{entry.mapWidth} * entry.mapHeight <=
                              static_cast<int64_t>(TerrainTiles::kSize);
  const std::string size = std::to_string(entry.mapWidth) + " x " + std::to_string(entry.mapHeight);
  if (named(s.mapSize, kMapSizes)) {
    addLine(report, ReportFact::kMapSize, *s.mapSize, tilesKnown ? " (" + size + ")" : "");
  } else if (tilesKnown) {
    addLine(report, ReportFact::kMapSize, -1, size);
  }
  if (s.speed) {
    if (const auto speed = speedOf(*s.speed, facts.version.family))
      addLine(report, ReportFact::kSpeed, static_cast<int32_t>(*speed));
  }
  if (s.populationLimit)
    addLine(report, ReportFact::kPopulation, -1, std::to_string(*s.populationLimit));
  addChoice(report, ReportFact::kRevealMap, s.revealMap, kRevealMaps);
  addChoice(report, ReportFact::kStartingAge, s.startingAge, kStartingAges);
  std::string limit;
  if (s.victoryTime) limit = " (" + std::to_string(*s.victoryTime) + ")";
  if (s.victoryScore) limit = " (" + std::to_string(*s.victoryScore) + ")";
  addChoice(report, ReportFact::kVictory, s.victory, kVictories, limit);
  addChoice(report, ReportFact::kDifficulty, s.difficulty, kDifficulties);
  if (s.lockTeams) addLine(report, ReportFact::kLockTeams, *s.lockTeams ? 1 : 0);
  if (facts.restored()) addLine(report, ReportFact::kRestoredAt, -1, clockText(facts.restoredAtMs));
}

}  // namespace

std::string clockText(int64_t ms) {
  const int64_t seconds = ms / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

void addPlay(GameReport& report, const GamePlay& play, const StepNamer& name) {
  if (report.state != ReportState::kGame) return;
  report.hasPlay = true;
  report.playDurationMs = play.durationMs;
  for (ReportPlayer& player : report.players) {
    const PlayerPlay* own = find(play.players, player.playerNumber);
    if (own == nullptr) {
      player.actionsPerMinute = 0.0;  // no command named the player
      continue;
    }
    player.actionsPerMinute = actionsPerMinute(*own, play.durationMs);
    player.actionsByMinute = own->actionsByMinute;
    player.buildOrder = buildOrderOf(*own);
    player.buildOrderText.clear();
    for (const BuildStep& step : player.buildOrder)
      player.buildOrderText.push_back(buildStepText(step, name));
  }
}

std::optional<GamePlay> readPlayOfRecording(const std::string& exactPath, const GameEntry& entry) {
  if (!entry.isParsed() || !entry.facts.allocated()) return std::nullopt;
  RecordedGameFile file;
  if (!file.load(exactPath)) return std::nullopt;
  return readGamePlay(file, entry);
}

GameReport buildGameReport(const GameEntry& entry) {
  GameReport report;
  // The name as the file system holds it is UTF-8; fileName is in the ANSI code page.
  report.fileName = entry.exactName.empty() ? entry.fileName : entry.exactName;
  if (entry.isFolder()) {
    report.state = ReportState::kFolder;
    return report;
  }
  if (!entry.isParsed()) {
    const GameVersion& version = entry.facts.read().version;
    const bool refused = entry.facts.allocated() && !version.supported && !version.text.empty();
    report.state = refused ? ReportState::kUnknownEdition : ReportState::kNotLoaded;
    if (refused) report.version = versionName(version);
    return report;
  }
  report.state = ReportState::kGame;
  const RecordingText decode(entry.facts.allocated() ? entry.facts.read().codePage : 0);
  for (int position = 1; position < GameEntry::kPositions; ++position) {
    if (!entry.playerNames[static_cast<std::size_t>(position)].empty())
      report.players.push_back(playerAt(entry, position, decode));
  }
  if (entry.facts.allocated()) addFacts(entry, decode, report);
  addChat(entry, decode, report);
  return report;
}

}  // namespace morvane
