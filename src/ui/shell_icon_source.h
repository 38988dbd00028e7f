// The list's small icons, as the shell draws them for each file or folder.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "library/icon_source.h"
#include "ui/scoped_handle.h"

namespace morvane::ui {

class ShellIconSource : public IconSource {
 public:
  // images is the owner's image list, read at each call since the owner
  // creates the list after this object.
  explicit ShellIconSource(const ScopedImageList& images) : images_(images) {}

  void clear() override;
  int addIconFor(const std::string& fullPath) override;

 private:
  const ScopedImageList& images_;
};

}  // namespace morvane::ui
