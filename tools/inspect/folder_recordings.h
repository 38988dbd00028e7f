// The recordings a folder contributes: its ".mgx" files, by name in byte
// order, not recursing.
#pragma once

#include <string>
#include <vector>

namespace morvane::inspect {

// Exact paths (platform/exact_path.h) of the folder's recordings, in byte
// order of their names; the folder is an exact path.
std::vector<std::string> folderRecordings(const std::string& folder, char separator);

}  // namespace morvane::inspect
