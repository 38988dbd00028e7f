// Texts of the program's own resources and literals, in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>

#include "platform/exact_path_win32.h"

namespace morvane::ui {

// String id of the program's string table; empty when it has none.
std::string loadResourceString(UINT id);

using platform::ansiFromUtf8;

}  // namespace morvane::ui
