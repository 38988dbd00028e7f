// The inspector's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvane::inspect {

struct InspectOptions {
  bool raw = false;
  bool result = true;  // --no-result leaves resignations and winners out
  std::optional<int> codePage;
  std::optional<std::string> playersFile;
  std::optional<unsigned> jobs;  // threads reading; all cores when not given
  std::vector<std::string> paths;
};

// Nothing, with the reason in error, for a usage error.
std::optional<InspectOptions> parseOptions(const std::vector<std::string>& arguments,
                                           std::string& error);

inline constexpr char kUsage[] =
    "usage: morvane-inspect [--raw] [--no-result] [--codepage N] [--players FILE] [--jobs N] "
    "PATH...";

}  // namespace morvane::inspect
