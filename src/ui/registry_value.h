// One string value read from the registry.
#pragma once

#include <windows.h>

#include <string>

namespace morvane::ui {

// The key under HKEY_LOCAL_MACHINE where the game keeps its "EXE Path".
inline constexpr char kGameKey[] =
    "SOFTWARE\\Microsoft\\Microsoft Games\\Age of Empires II: The Conquerors Expansion\\1.0";

// The value's bytes up to its terminator; empty when the key or value is
// missing, unreadable or longer than 1023 bytes. view is 0 for the program's
// own registry view, or KEY_WOW64_32KEY or KEY_WOW64_64KEY.
std::string readRegistryString(HKEY root, const char* key, const char* value, REGSAM view);

}  // namespace morvane::ui
