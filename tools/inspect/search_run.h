// morvane-inspect --index FILE --search: the index's games found as the
// search window finds them (archive/search_lines.h), one JSON line each.
#pragma once

#include <optional>
#include <string>

#include "archive/archive_index.h"
#include "archive/search_lines.h"
#include "inspect_options.h"

namespace morvane::inspect {

// The window's form from the command line's criteria; nothing, with the
// reason in error, for a civilisation or result that does not read.
std::optional<archive::SearchForm> searchFormOf(const InspectOptions::Criteria& criteria,
                                                std::string& error);

// One game found: when, its key's certainty, map, length, the players of its
// main recording and every recording of it.
std::string gameJson(const archive::GameHit& game, const archive::ResultLine& line);

// Exit status: 0 searched (whether or not anything was found), 2 a criterion
// that does not read, 3 an index that cannot be used.
int runSearch(const InspectOptions& options);

}  // namespace morvane::inspect
