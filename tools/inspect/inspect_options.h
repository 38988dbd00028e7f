// The inspector's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvane::inspect {

struct InspectOptions {
  bool raw = false;
  bool result = true;  // --no-result leaves resignations and winners out
  bool recursive = false;  // --recursive: a folder's sub-folders too
  std::optional<int> codePage;
  std::optional<std::string> playersFile;
  std::optional<unsigned> jobs;              // threads reading; all cores when not given
  std::optional<std::string> minimapFolder;  // --minimap: a picture of each map there
  int minimapSize = 256;                     // its width in pixels
  std::optional<std::string> indexFile;      // --index: the paths go into this index
  bool rebuild = false;                      // --rebuild: a damaged index is made anew
  // --search: the index's games as the search window finds them, by these.
  bool search = false;
  struct Criteria {
    std::string name, civ, map, result, from, to;
  } criteria;
  std::vector<std::string> paths;
};

// Nothing, with the reason in error, for a usage error.
std::optional<InspectOptions> parseOptions(const std::vector<std::string>& arguments,
                                           std::string& error);

inline constexpr char kUsage[] =
    "usage: morvane-inspect [--raw] [--no-result] [--recursive] [--codepage N] [--players FILE]\n"
    "                       [--jobs N] [--minimap DIR [--minimap-size N]] PATH...\n"
    "       morvane-inspect --index FILE [--rebuild] [--recursive] [--jobs N] PATH...\n"
    "       morvane-inspect --index FILE --search [--name TEXT] [--civ ID|NAME] [--map TEXT]\n"
    "                       [--result won|lost] [--from DATE] [--to DATE]\n"
    "  --recursive         read the recordings of a folder's sub-folders too\n"
    "  --minimap DIR       also write DIR/NAME.png, the map of each recording that loads\n"
    "  --minimap-size N    its width in pixels, 8 to 4096 (default 256)\n"
    "  --index FILE        create or update the archive index FILE with the recordings\n"
    "  --rebuild           with --index: a damaged index is removed and made anew\n"
    "  --search            with --index: one JSON line per game found, newest first;\n"
    "                      a part of a player's name, a civilisation, a part of the map's\n"
    "                      name, that player's result, dates as 2024-05-01 or 2024-05";

}  // namespace morvane::inspect
