// Opening, creating and removing files by exact path (platform/exact_path.h).
#pragma once

#include <cstdio>
#include <string>

namespace morvane::platform {

// std::fopen by exact path.
std::FILE* openFile(const std::string& path, const char* mode);

// Creates path for binary reading and writing, only when nothing has that
// name yet; the descriptor, or -1 with errno set (EEXIST when it existed).
int createExclusive(const std::string& path);

// True when the file is gone.
bool removeFile(const std::string& path);

}  // namespace morvane::platform
