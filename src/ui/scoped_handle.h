// Window-system handles released by their owner's end rather than by hand.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace morvane::ui {

// Owns one handle; Release frees it when the owner ends or replaces it.
template <class Handle, auto Release>
class Scoped {
 public:
  Scoped() = default;
  ~Scoped() { reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

  Handle get() const { return handle_; }
  void reset(Handle handle = nullptr) {
    if (handle_ != nullptr) Release(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

inline void deleteGdiObject(HGDIOBJ object) { DeleteObject(object); }

using ScopedBitmap = Scoped<HBITMAP, deleteGdiObject>;
using ScopedBrush = Scoped<HBRUSH, deleteGdiObject>;
using ScopedImageList = Scoped<HIMAGELIST, ImageList_Destroy>;

}  // namespace morvane::ui
