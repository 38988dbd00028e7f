#include <fcntl.h>

#include "platform/file_access.h"

namespace morvane::platform {

std::FILE* openFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

int createExclusive(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
}

bool removeFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

}  // namespace morvane::platform
