#include <stdlib.h>
#include <windows.h>

#include "platform/executable_folder.h"

namespace morvane::platform {

std::optional<std::string> executableFolder() {
  char path[256];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  // A full buffer means the path was cut short: as good as none.
  if (length == 0 || length >= sizeof path) return std::nullopt;
  char drive[_MAX_DRIVE];
  char dir[_MAX_DIR];
  _splitpath(path, drive, dir, nullptr, nullptr);
  return std::string(drive) + dir;
}

}  // namespace morvane::platform
