// The recordings a folder contributes: its ".mgx" files, by name in byte
// order, not recursing.
#pragma once

#include <string>
#include <vector>

namespace morvane::inspect {

// The byte-exact, case-sensitive ending the folder listing uses.
bool hasRecordingEnding(const std::string& name);

// folder joined with name by sep, none added when folder already ends in it.
std::string joinWith(const std::string& folder, const std::string& name, char separator);

// Full paths of the folder's recordings, in byte order of their names.
std::vector<std::string> folderRecordings(const std::string& folder, char separator);

}  // namespace morvane::inspect
