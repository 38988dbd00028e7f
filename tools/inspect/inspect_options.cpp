#include "inspect_options.h"

#include <cstdlib>

#include "minimap/minimap.h"

namespace morvane::inspect {
namespace {

std::optional<int> positiveNumber(const std::string& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  for (const char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  const int value = std::atoi(text.c_str());
  if (value <= 0) return std::nullopt;
  return value;
}

}  // namespace

std::optional<InspectOptions> parseOptions(const std::vector<std::string>& arguments,
                                           std::string& error) {
  InspectOptions options;
  bool onlyPaths = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (onlyPaths || argument.empty() || argument[0] != '-' || argument == "-") {
      options.paths.push_back(argument);
    } else if (argument == "--") {
      onlyPaths = true;
    } else if (argument == "--raw") {
      options.raw = true;
    } else if (argument == "--no-result") {
      options.result = false;
    } else if (argument == "--rebuild") {
      options.rebuild = true;
    } else if (argument == "--search") {
      options.search = true;
    } else if (argument == "--name" || argument == "--civ" || argument == "--map" ||
               argument == "--result" || argument == "--from" || argument == "--to") {
      if (i + 1 >= arguments.size()) {
        error = argument + " needs a value";
        return std::nullopt;
      }
      InspectOptions::Criteria& c = options.criteria;
      std::string& field = argument == "--name"     ? c.name
                           : argument == "--civ"    ? c.civ
                           : argument == "--map"    ? c.map
                           : argument == "--result" ? c.result
                           : argument == "--from"   ? c.from
                                                    : c.to;
      field = arguments[++i];
    } else if (argument == "--recursive") {
      options.recursive = true;
    } else if (argument == "--codepage" || argument == "--players" || argument == "--jobs" ||
               argument == "--minimap" || argument == "--minimap-size" || argument == "--index") {
      if (i + 1 >= arguments.size()) {
        error = argument + " needs a value";
        return std::nullopt;
      }
      const std::string& value = arguments[++i];
      if (argument == "--players") {
        options.playersFile = value;
      } else if (argument == "--index") {
        options.indexFile = value;
      } else if (argument == "--minimap") {
        options.minimapFolder = value;
      } else if (argument == "--minimap-size") {
        const std::optional<int> size = positiveNumber(value);
        if (!size || *size < kMinimapMinSize || *size > kMinimapMaxSize) {
          error = "bad minimap size: " + value;
          return std::nullopt;
        }
        options.minimapSize = *size;
      } else if (argument == "--jobs") {
        const std::optional<int> jobs = positiveNumber(value);
        if (!jobs) {
          error = "bad number of jobs: " + value;
          return std::nullopt;
        }
        options.jobs = static_cast<unsigned>(*jobs);
      } else if (!(options.codePage = positiveNumber(value))) {
        error = "bad code page: " + value;
        return std::nullopt;
      }
    } else {
      error = "unknown option: " + argument;
      return std::nullopt;
    }
  }
  const InspectOptions::Criteria& c = options.criteria;
  const bool criteria = !c.name.empty() || !c.civ.empty() || !c.map.empty() || !c.result.empty() ||
                        !c.from.empty() || !c.to.empty();
  if (options.search || criteria) {
    if (!options.search || !options.indexFile) {
      error = "search criteria need --index FILE --search";
      return std::nullopt;
    }
    return options;
  }
  if (options.paths.empty()) {
    error = "no PATH given";
    return std::nullopt;
  }
  return options;
}

}  // namespace morvane::inspect
