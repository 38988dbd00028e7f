// The list's small icons, as the shell draws them for each file or folder.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "library/icon_source.h"

namespace morvane::ui {

class ShellIconSource : public IconSource {
 public:
  // images is the owner's image list handle, read at each call since the
  // owner creates the list after this object.
  explicit ShellIconSource(const HIMAGELIST& images) : images_(images) {}

  void clear() override;
  int addIconFor(const std::string& fullPath) override;

 private:
  const HIMAGELIST& images_;
};

}  // namespace morvane::ui
