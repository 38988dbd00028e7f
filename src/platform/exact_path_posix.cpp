// POSIX names are bytes, shown and opened as they are.
#include "platform/exact_path.h"

namespace morvane::platform {

std::string exactFromAnsi(const std::string& ansi) { return ansi; }
std::string ansiFromExact(const std::string& exact) { return exact; }

}  // namespace morvane::platform
