// Joining and splitting paths. The list and the window keep Windows' form
// ('\') on every system (the POSIX listing reads it as '/'); the inspector
// writes the system's own.
#pragma once

#include <optional>
#include <string>

namespace morvane::platform {

inline constexpr char kWindowsSeparator = '\\';
#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

// folder and name joined by one separator (none added when folder already
// ends in one).
std::string joinPath(const std::string& folder, const std::string& name,
                     char separator = kWindowsSeparator);

// The folder holding path, without its trailing separator; none for a path
// without a separator (a drive's root). Exact paths only: in the ANSI code
// page a trail byte can look like a separator.
std::optional<std::string> parentFolder(std::string path, char separator = kWindowsSeparator);

}  // namespace morvane::platform
