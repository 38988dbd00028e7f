// The CRT's wide calls, so that a name outside the ANSI code page opens.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "platform/exact_path_win32.h"
#include "platform/file_access.h"

namespace morvane::platform {

std::FILE* openFile(const std::string& path, const char* mode) {
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(wideFromExact(path).c_str(), wideMode.c_str());
}

int createExclusive(const std::string& path) {
  return _wopen(wideFromExact(path).c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY,
                _S_IREAD | _S_IWRITE);
}

bool removeFile(const std::string& path) { return _wremove(wideFromExact(path).c_str()) == 0; }

}  // namespace morvane::platform
