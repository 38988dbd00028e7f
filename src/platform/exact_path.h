// Exact paths: a file's or folder's name as the file system holds it. On
// Windows that is the UTF-8 form of the wide name, which keeps characters the
// ANSI code page cannot hold; on POSIX it is the name's own bytes. The list
// shows names as the code page renders them; what is opened is the exact path.
#pragma once

#include <string>

namespace morvane::platform {

// The exact form of a path written in the ANSI code page: typed by the user,
// read from the registry or given on the command line.
std::string exactFromAnsi(const std::string& ansi);

// The exact path as the ANSI calls render it: a character the code page
// cannot hold becomes a look-alike or '?', as FindFirstFileA reports it.
std::string ansiFromExact(const std::string& exact);

}  // namespace morvane::platform
