// One string value read from the registry.
#pragma once

#include <windows.h>

#include <string>

namespace morvane::ui {

// The value's bytes up to its terminator; empty when the key or value is
// missing, unreadable or longer than 1023 bytes.
std::string readRegistryString(HKEY root, const char* key, const char* value);

}  // namespace morvane::ui
