// What the search window shows, computed without it: the form's fields
// turned into a query, and each game found as one line of texts (UTF-8) with
// the recordings behind it. The window only draws these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_index.h"

namespace morvane::archive {

struct SearchForm {
  std::string player;  // a part of a name
  int32_t civId = 0;   // 0: any
  std::string map;     // a part of the map's text
  enum class Result { kAny, kWon, kLost } result = Result::kAny;
  std::string from;  // "2024-05-01", "2024/05/01" or "2024-05"; empty: no bound
  std::string to;    // the same, the whole day (or month) included
};

enum class FormProblem { kNone, kBadFrom, kBadTo };

// The query over the folder tree under (exact path ending in a separator;
// empty for the whole index), or the field that does not read.
std::optional<SearchQuery> queryOf(const SearchForm& form, const std::string& under,
                                   FormProblem& problem);

struct ResultLine {
  int64_t playedMs = 0;    // what the date and length columns sort by
  int64_t durationMs = 0;
  std::string date;        // "2024/05/01 12:34", UTC as the list shows times
  std::string players;     // "Alice (Franks) ○ vs Bob (Goths) ×", by team
  std::string map;         // the map type text, else the map's name by id
  std::string length;      // "0:25:13"
  // Each player's actions per minute and counts of buildings, units and
  // research, in the players' order: "71, 65 vs 80", "35/120/18, ...".
  std::string actions;
  std::string counts;
  // The highest actions per minute of the game's players, for sorting;
  // absent where the walk named no one.
  std::optional<double> highestActions;
  // Buildings, units and research of all its players, for sorting.
  int64_t countsTotal = 0;
  std::string recordings;  // its files' names, copies counted: "a.mgx, b.mgx (コピー 1)"
  std::string firstPath;   // the first recording that is no copy: the one a report opens
  std::vector<std::string> paths;
  // The line whole, for its tip: each player with team, civilisation and
  // result, one a line, then every recording's path.
  std::string tip;
};

ResultLine lineOf(const GameHit& game);

// A search as the window and the inspector run it: the form's query over
// the folder tree under, at most limit games, each with its line; nothing
// but the problem when a field does not read.
struct SearchPage {
  FormProblem problem = FormProblem::kNone;
  std::vector<GameHit> games;  // newest first
  std::vector<ResultLine> lines;  // one per game, in the same order
  bool more = false;              // the limit cut the list
};
SearchPage searchGames(Archive& archive, const SearchForm& form, const std::string& under,
                       std::size_t limit);

// The result list's columns, left to right.
enum class ResultColumn { kDate, kPlayers, kMap, kLength, kRecordings, kActions, kCounts };
inline constexpr int kResultColumns = 7;

struct ResultOrder {
  ResultColumn column = ResultColumn::kDate;
  bool descending = true;  // as a search gives them: newest first
};

// A click on a column's header: the same column again turns the order
// round; another is sorted its own first way (dates and lengths from the
// largest, texts from A).
ResultOrder orderAfterClick(ResultOrder current, ResultColumn clicked);

// The lines in that order; a stable sort, so equal keys keep the search's
// order (newest first). Texts compare as a search folds them.
void sortLines(std::vector<ResultLine>& lines, ResultOrder order);

}  // namespace morvane::archive
