// The search window from the main window: Ctrl+F and the list's shortcut
// menu open it over the folder tree listed; a game it finds comes back as
// its report or as its row selected in the list.
#include "platform/exact_path.h"
#include "platform/path.h"
#include "ui/main_dialog.h"

namespace morvane::ui {

void MainDialog::openSearch() {
  if (!search.build(hwnd())) return;
  search.setHost({[this](const std::string& path) { showReportOfFile(path); },
                  [this](const std::string& path) { selectFileInList(path); }});
  search.show(exactFolder);
}

void MainDialog::showReportOfFile(const std::string& exactPath) {
  GameEntry entry;
  const std::optional<std::string> folder = platform::parentFolder(exactPath);
  entry.exactName = folder ? exactPath.substr(folder->size() + 1) : exactPath;
  entry.fileName = platform::ansiFromExact(entry.exactName);
  parseGame(entry, exactPath);
  if (!report.build(hwnd())) return;
  report.show(entry, exactPath);
  SetActiveWindow(report.hwnd());
}

void MainDialog::selectFileInList(const std::string& exactPath) {
  const std::optional<std::string> folder = platform::parentFolder(exactPath);
  if (!folder) return;
  const std::string name = exactPath.substr(folder->size() + 1);
  if (*folder != exactFolder) {
    enterFolder(*folder);
    UpdateData(FALSE);
  }
  HWND list = gameList.hwnd();
  const int rows = ListView_GetItemCount(list);
  for (int row = 0; row < rows; ++row) {
    const int32_t index = entryIndexOfRow(row);
    if (index < 0 || entryStore.at(index).exactName != name) continue;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
    SetActiveWindow(hwnd());
    SetFocus(list);
    return;
  }
}

}  // namespace morvane::ui
