#include "ui/popup_menu.h"

namespace morvane::ui {

UINT pickFromMenuWithSystem(HMENU menu, HWND owner, POINT at) {
  return static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                          at.x, at.y, 0, owner, nullptr));
}

}  // namespace morvane::ui
