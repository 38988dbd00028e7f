#include "ui/folder_picker.h"

namespace morvane::ui {

std::optional<std::string> pickFolderWithShell(BROWSEINFOA& info) {
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (chosen == nullptr) return std::nullopt;
  char path[1024] = {};
  std::optional<std::string> result;
  if (SHGetPathFromIDListA(chosen, path)) result = std::string(path);
  CoTaskMemFree(chosen);
  return result;
}

}  // namespace morvane::ui
