// Filling, filtering and sorting the game list.
#include <string>

#include "library/folder_scan.h"
#include "library/list_presentation.h"
#include "library/sort_toggle.h"
#include "ui/game_tip.h"
#include "ui/main_dialog.h"

namespace morvane::ui {

ListingContext MainDialog::listing() {
  return ListingContext{entryStore, gameRows, icons, filterText};
}

void MainDialog::scanFolder(const std::string& path) {
  const RowBatch batch(gameList);
  morvane::scanFolder(path, listing());
}

void MainDialog::onFilter() {
  UpdateData(TRUE);
  const RowBatch batch(gameList);
  fillListSortedByName(listing());
}

void MainDialog::onColumnClick(NMHDR* notification, LRESULT* result) {
  const auto* click = reinterpret_cast<const NMLISTVIEW*>(notification);
  const SortDirection direction = toggleSort(click->iSubItem);
  gameList.keepSelectionWhile([&] { gameRows.sort(direction.column, direction.ascending); });
  UpdateData(FALSE);
  *result = 0;
}

// A parsed game's length and settings; no tip for any other row, not even
// the list's own one for a cut-off name.
void MainDialog::onListGetInfoTip(NMHDR* notification, LRESULT* result) {
  *result = 0;
  auto* tip = reinterpret_cast<NMLVGETINFOTIPA*>(notification);
  if (tip->pszText == nullptr || tip->cchTextMax <= 0) return;
  const int32_t index = entryIndexOfRow(tip->iItem);
  const std::string text = index < 0 ? std::string() : gameTipText(entryStore.at(index));
  const std::size_t room = static_cast<std::size_t>(tip->cchTextMax) - 1;
  const std::size_t count = text.copy(tip->pszText, room);
  tip->pszText[count] = '\0';
}

void MainDialog::onListGetDisplayInfo(NMHDR* notification, LRESULT* result) {
  gameList.answerDisplayInfo(*reinterpret_cast<NMLVDISPINFOA*>(notification));
  *result = 0;
}

void MainDialog::onListFindItem(NMHDR* notification, LRESULT* result) {
  // Both forms carry the same record; only the text differs.
  const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(notification);
  *result = -1;
  if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find->lvfi.psz == nullptr) return;
  std::string prefix;
  if (notification->code != LVN_ODFINDITEMW) {
    prefix = find->lvfi.psz;
  } else {
    // Wine asks in this form even of a window that takes ANSI text.
    const auto* wide = reinterpret_cast<const wchar_t*>(find->lvfi.psz);
    char ansi[256] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi - 1, nullptr, nullptr);
    prefix = ansi;
  }
  *result = gameList.findRow(prefix, find->iStart, (find->lvfi.flags & LVFI_WRAP) != 0);
}

}  // namespace morvane::ui
