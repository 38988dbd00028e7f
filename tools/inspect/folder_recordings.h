// The recordings a folder contributes: its files with a recorded game's
// extension of any edition, by name in byte order, and with recursion those
// of its sub-folders after them.
#pragma once

#include <string>
#include <vector>

namespace morvane::inspect {

// .mgx, .mgz, .mgl, .mgx2, .aoe2record and .msx, in any case.
bool isRecordingName(const std::string& name);

// Exact paths (platform/exact_path.h) of the folder's recordings, in byte
// order of their names, then each sub-folder's in the same order when
// recursive; the folder is an exact path.
std::vector<std::string> folderRecordings(const std::string& folder, char separator,
                                          bool recursive = false);

}  // namespace morvane::inspect
