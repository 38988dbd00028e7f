#include "platform/path.h"

namespace morvane::platform {

std::string joinPath(const std::string& folder, const std::string& name, char separator) {
  if (!folder.empty() && folder.back() == separator) return folder + name;
  return folder + separator + name;
}

std::optional<std::string> parentFolder(std::string path, char separator) {
  if (!path.empty() && path.back() == separator) path.pop_back();
  const std::size_t last = path.rfind(separator);
  if (last == std::string::npos) return std::nullopt;
  path.resize(last);
  return path;
}

}  // namespace morvane::platform
