#include "ui/shell_icon_source.h"

#include <shellapi.h>

#include "platform/exact_path_win32.h"

namespace morvane::ui {

void ShellIconSource::clear() {
  HIMAGELIST images = images_.get();
  if (images == nullptr) return;
  while (ImageList_GetImageCount(images) > 0) {
    if (!ImageList_Remove(images, 0)) break;
  }
}

int ShellIconSource::addIconFor(const std::string& fullPath) {
  HIMAGELIST images = images_.get();
  if (images == nullptr) return -1;
  SHFILEINFOW info = {};
  if (!SHGetFileInfoW(platform::wideFromExact(fullPath).c_str(), 0, &info, sizeof info,
                      SHGFI_ICON | SHGFI_SMALLICON) ||
      info.hIcon == nullptr)
    return -1;
  const int index = ImageList_ReplaceIcon(images, -1, info.hIcon);
  // The image list keeps its own copy.
  DestroyIcon(info.hIcon);
  return index;
}

}  // namespace morvane::ui
