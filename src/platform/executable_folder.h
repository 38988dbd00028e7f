// Where the running program lives.
#pragma once

#include <optional>
#include <string>

namespace morvane::platform {

// The folder of the running executable with its trailing separator ('\' on
// Windows, '/' on POSIX); nothing when the path cannot be obtained.
std::optional<std::string> executableFolder();

}  // namespace morvane::platform
