// Filling, filtering and sorting the game list.
#include "library/folder_scan.h"
#include "library/list_presentation.h"
#include "library/sort_toggle.h"
#include "library/sorting.h"
#include "ui/main_dialog.h"

namespace morvane::ui {

ListingContext MainDialog::listing() {
  return ListingContext{entryStore, gameList, icons, *codePage, playerNameTable, filterText};
}

void MainDialog::scanFolder(const std::string& path) {
  const RowBatch batch(gameList);
  morvane::scanFolder(path, listing());
}

void MainDialog::onFilter() {
  UpdateData(TRUE);
  const RowBatch batch(gameList);
  fillList(listing());
  sortRows(gameList, entryStore, *codePage, kColumnName, true);
}

void MainDialog::onColumnClick(NMHDR* notification, LRESULT* result) {
  const auto* click = reinterpret_cast<const NMLISTVIEW*>(notification);
  const SortDirection direction = toggleSort(click->iSubItem);
  sortRows(gameList, entryStore, *codePage, direction.column, direction.ascending);
  UpdateData(FALSE);
  *result = 0;
}

void MainDialog::onListGetDisplayInfo(NMHDR* notification, LRESULT* result) {
  gameList.answerDisplayInfo(*reinterpret_cast<NMLVDISPINFOA*>(notification));
  *result = 0;
}

}  // namespace morvane::ui
