// Where --minimap puts each recording's picture, and the writing of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvane::inspect {

// folder/NAME.png, NAME the recording's file name without its extension;
// exact paths (platform/exact_path.h).
std::string minimapPath(const std::string& folder, const std::string& recording, char separator);

// The folder made when it is missing; false when it cannot be made.
bool makeFolder(const std::string& folder);

// The bytes as the file at the exact path; false when it cannot be written.
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace morvane::inspect
