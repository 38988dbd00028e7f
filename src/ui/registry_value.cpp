#include "ui/registry_value.h"

#include <cstring>

namespace morvane::ui {

std::string readRegistryString(HKEY root, const char* key, const char* value, REGSAM view) {
  HKEY opened = nullptr;
  // Read access only: the program never writes the registry, and asking for
  // more fails for users without administrator rights.
  if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) return {};
  char buffer[1024] = {};
  DWORD size = sizeof buffer;
  const LONG status =
      RegQueryValueExA(opened, value, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return {};
  // A value that fills the buffer without a terminator did not fit.
  if (size == sizeof buffer && buffer[sizeof buffer - 1] != '\0') return {};
  return std::string(buffer, strnlen(buffer, size));
}

}  // namespace morvane::ui
