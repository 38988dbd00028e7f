#include <windows.h>

#include "file_identity.h"
#include "platform/exact_path_win32.h"

namespace morvane::inspect {

// The volume serial number and file index: stable while the file is open and
// the same for every name of it (short names, case, "." and "..").
std::string fileIdentity(const std::string& path) {
  const HANDLE file = CreateFileW(platform::wideFromExact(path).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "path:" + path;
  BY_HANDLE_FILE_INFORMATION info;
  const BOOL known = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!known) return "path:" + path;
  return "file:" + std::to_string(info.dwVolumeSerialNumber) + ":" +
         std::to_string(info.nFileIndexHigh) + ":" + std::to_string(info.nFileIndexLow);
}

}  // namespace morvane::inspect
