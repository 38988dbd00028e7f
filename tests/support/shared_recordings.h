// The shared real recordings that have a file of expectations beside them.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace morvane::fixtures {

// Names of the recordings in folder with a NAME + suffix file, sorted; none
// when the folder is missing.
inline std::vector<std::string> recordingsWith(const std::string& folder,
                                               const std::string& suffix) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      names.push_back(name.substr(0, name.size() - suffix.size()));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace morvane::fixtures
