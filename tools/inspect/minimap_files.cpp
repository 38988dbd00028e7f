#include "minimap_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "library/folder_scan.h"
#include "platform/file_access.h"

namespace morvane::inspect {

std::string minimapPath(const std::string& folder, const std::string& recording, char separator) {
  const std::size_t slash = recording.find_last_of(std::string("/") + separator);
  std::string name = slash == std::string::npos ? recording : recording.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return joinPath(folder, name + ".png", separator);
}

bool makeFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error);
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = platform::openFile(path, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace morvane::inspect
