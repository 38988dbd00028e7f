// The game report from the main window: Alt+Enter and the list's shortcut
// menu open it, and while it is open it follows the list's selection.
#include <windowsx.h>

#include "platform/path.h"
#include "resource.h"
#include "ui/main_dialog.h"
#include "ui/resource_text.h"

namespace morvane::ui {
namespace {

// A menu of one item.
HMENU menuOf(UINT command, UINT text) {
  HMENU menu = CreatePopupMenu();
  if (menu != nullptr) AppendMenuA(menu, MF_STRING, command, loadResourceString(text).c_str());
  return menu;
}

}  // namespace

void MainDialog::appendEveryEditionItem(HMENU menu) const {
  AppendMenuA(menu, MF_STRING | (everyEdition ? MF_CHECKED : MF_UNCHECKED),
              IDM_LIST_ALL_RECORDINGS, loadResourceString(IDS_MENU_ALL_RECORDINGS).c_str());
}

void MainDialog::toggleEveryEdition() {
  everyEdition = !everyEdition;
  recreatePaneEdits(everyEdition);
  clearPane();
  scanFolder(exactFolder);
}

int MainDialog::focusedRow() const {
  const int focused = ListView_GetNextItem(gameList.hwnd(), -1, LVNI_FOCUSED);
  if (focused >= 0) return focused;
  return ListView_GetNextItem(gameList.hwnd(), -1, LVNI_SELECTED);
}

void MainDialog::openReport() { openReportOfRow(focusedRow()); }

void MainDialog::openReportOfRow(int row) {
  GameEntry* entry = parsedEntryOfRow(row);
  if (entry == nullptr || entry->isFolder()) return;
  if (!report.build(hwnd())) return;
  report.show(*entry, joinPath(exactFolder, entry->exactName));
  SetActiveWindow(report.hwnd());
}

void MainDialog::followInReport(const GameEntry& entry) {
  if (report.isOpen()) report.show(entry, joinPath(exactFolder, entry.exactName));
}

// From the list: a right-click on a row (which the list has selected), or
// Shift+F10 and the Menu key, which give no point and mean the focused row.
bool MainDialog::OnContextMenu(WPARAM window, LPARAM point, INT_PTR&) {
  if (reinterpret_cast<HWND>(window) != gameList.hwnd()) return false;
  POINT at = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  int row = -1;
  if (at.x == -1 && at.y == -1) {
    row = focusedRow();
    RECT bounds = {};
    bounds.left = LVIR_LABEL;
    if (row >= 0) {
      SendMessageA(gameList.hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&bounds));
    }
    at = {bounds.left, bounds.bottom};
    ClientToScreen(gameList.hwnd(), &at);
  } else {
    LVHITTESTINFO hit = {};
    hit.pt = at;
    ScreenToClient(gameList.hwnd(), &hit.pt);
    row = ListView_HitTest(gameList.hwnd(), &hit);
  }
  const int32_t index = entryIndexOfRow(row);
  if (index < 0) {
    // The list's empty space: where no row is, the listing's own choices only.
    if (HMENU menu = CreatePopupMenu()) {
      AppendMenuA(menu, MF_STRING, IDM_LIST_SEARCH, loadResourceString(IDS_MENU_SEARCH).c_str());
      appendEveryEditionItem(menu);
      const UINT chosen = menuPicker(menu, hwnd(), at);
      DestroyMenu(menu);
      if (chosen == IDM_LIST_ALL_RECORDINGS) toggleEveryEdition();
      if (chosen == IDM_LIST_SEARCH) openSearch();
    }
    return true;
  }
  const bool folder = entryStore.at(index).isFolder();
  HMENU menu =
      folder ? menuOf(IDM_LIST_OPEN, IDS_MENU_OPEN) : menuOf(IDM_LIST_DETAILS, IDS_MENU_DETAILS);
  if (menu == nullptr) return true;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_LIST_SEARCH, loadResourceString(IDS_MENU_SEARCH).c_str());
  appendEveryEditionItem(menu);
  const UINT chosen = menuPicker(menu, hwnd(), at);
  DestroyMenu(menu);
  if (chosen == IDM_LIST_ALL_RECORDINGS) {
    toggleEveryEdition();
  } else if (chosen == IDM_LIST_OPEN && folder) {
    enterFolderRow(entryStore.at(index));
  } else if (chosen == IDM_LIST_DETAILS && !folder) {
    openReportOfRow(row);
  } else if (chosen == IDM_LIST_SEARCH) {
    openSearch();
  }
  return true;
}

}  // namespace morvane::ui
