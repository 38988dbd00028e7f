#include <unistd.h>

#include "platform/executable_folder.h"

namespace morvane::platform {

std::optional<std::string> executableFolder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return std::nullopt;
  std::string folder(path, static_cast<std::size_t>(length));
  const std::size_t slash = folder.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  folder.resize(slash + 1);
  return folder;
}

}  // namespace morvane::platform
