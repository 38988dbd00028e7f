// The recordings a folder contributes: its ".mgx" files, by name in byte
// order, not recursing.
#pragma once

#include <string>
#include <vector>

namespace morvane::inspect {

// Full paths of the folder's recordings, in byte order of their names; the
// folder and the paths are in the code page, as on the command line.
std::vector<std::string> folderRecordings(const std::string& folder, char separator);

}  // namespace morvane::inspect
