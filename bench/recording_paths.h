// The real recordings a benchmark runs over: every file of folder (not its
// sub-folders) whose ending names a recording, sorted so runs compare.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace morvane::bench {

inline std::vector<std::string> recordingPaths(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> paths;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string ending = it->path().extension().string();
    for (const char* recording : {".mgx", ".mgl", ".mgz", ".mgx2", ".aoe2record"}) {
      if (ending == recording) paths.push_back(it->path().string());
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace morvane::bench
