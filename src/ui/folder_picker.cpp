#include "ui/folder_picker.h"

#include "platform/exact_path_win32.h"

namespace morvane::ui {

std::optional<std::string> pickFolderWithShell(BROWSEINFOA& info) {
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (chosen == nullptr) return std::nullopt;
  std::optional<std::string> result = exactPathOfItem(chosen);
  CoTaskMemFree(chosen);
  return result;
}

std::optional<std::string> exactPathOfItem(PCIDLIST_ABSOLUTE item) {
  // The wide path: the ANSI one loses what the code page cannot hold.
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(item, path)) return std::nullopt;
  return platform::exactFromWide(path);
}

}  // namespace morvane::ui
