// Texts of the program's own resources and literals, in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>

namespace morvane::ui {

// String id of the program's string table; empty when it has none.
std::string loadResourceString(UINT id);

// UTF-8 source text in the ANSI code page the A functions expect.
std::string ansiFromUtf8(const char* text);

}  // namespace morvane::ui
