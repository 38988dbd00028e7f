#include <sys/stat.h>

#include "file_identity.h"

namespace morvane::inspect {

std::string fileIdentity(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return "path:" + path;
  return "file:" + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

}  // namespace morvane::inspect
