// What the search window shows, computed without it: the form's fields
// turned into a query, and each game found as one line of texts (UTF-8) with
// the recordings behind it. The window only draws these.
#pragma once

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
  std::string recordings;  // its files' names, copies counted: "a.mgx, b.mgx (コピー 1)"
  std::string firstPath;   // the first recording that is no copy: the one a report opens
  std::vector<std::string> paths;
};

ResultLine lineOf(const GameHit& game);

}  // namespace morvane::archive
