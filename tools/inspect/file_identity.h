// Which file a path names, so that two spellings of one recording are never
// read at the same time: the reader's temporary file is named after the path.
#pragma once

#include <string>

namespace morvane::inspect {

// Equal for paths that name the same file; the path itself when the system
// cannot tell (the load will then fail on its own).
std::string fileIdentity(const std::string& path);

}  // namespace morvane::inspect
