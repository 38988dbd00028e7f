#include "ui/list_view_control.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace morvane::ui {

void ListViewControl::keepSelectionWhile(const std::function<void()>& reorder) {
  // The list keeps the selection, focus and mark by position; they follow
  // their entries to where the sort puts them.
  const auto entryAt = [&](int row) { return rows_ != nullptr ? rows_->storeIndex(row) : -1; };
  std::vector<int32_t> selected;
  for (int row = -1; (row = ListView_GetNextItem(hwnd(), row, LVNI_SELECTED)) >= 0;) {
    selected.push_back(entryAt(row));
  }
  const int32_t focused = entryAt(ListView_GetNextItem(hwnd(), -1, LVNI_FOCUSED));
  const int32_t mark = entryAt(getSelectionMark());
  reorder();
  if (!selected.empty() || focused >= 0 || mark >= 0) {
    std::sort(selected.begin(), selected.end());
    restoring_ = true;
    ListView_SetItemState(hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    int newMark = -1;
    for (int row = 0; row < rowCount(); ++row) {
      const int32_t entry = entryAt(row);
      if (std::binary_search(selected.begin(), selected.end(), entry)) {
        ListView_SetItemState(hwnd(), row, LVIS_SELECTED, LVIS_SELECTED);
      }
      if (entry == focused) ListView_SetItemState(hwnd(), row, LVIS_FOCUSED, LVIS_FOCUSED);
      if (entry == mark) newMark = row;
    }
    SendMessageA(hwnd(), LVM_SETSELECTIONMARK, 0, newMark);
    restoring_ = false;
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListViewControl::answerDisplayInfo(NMLVDISPINFOA& request) const {
  LVITEMA& item = request.item;
  const int row = item.iItem;
  if (row < 0 || row >= rowCount()) return;
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    const std::string text = rows_->cellText(row, item.iSubItem);
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, length);
    item.pszText[length] = '\0';
  }
  if ((item.mask & LVIF_IMAGE) != 0) item.iImage = rows_->entry(row).iconIndex;
  if ((item.mask & LVIF_PARAM) != 0) item.lParam = rows_->storeIndex(row);
}

int ListViewControl::findRow(const std::string& prefix, int start, bool wrap) const {
  const int count = rowCount();
  if (prefix.empty() || count == 0) return -1;
  const int first = start >= 0 && start < count ? start : 0;
  const int tried = wrap ? count : count - first;
  const auto length = static_cast<int>(prefix.size());
  for (int i = 0; i < tried; ++i) {
    const int row = (first + i) % count;
    const std::string& name = rows_->entry(row).fileName;
    if (name.size() < prefix.size()) continue;
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.data(), length, prefix.data(),
                       length) == CSTR_EQUAL) {
      return row;
    }
  }
  return -1;
}

void ListViewControl::showRowCount() const {
  SendMessageA(hwnd(), LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount()),
               LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void ListViewControl::redrawRow(int row) const {
  if (!batching_) ListView_RedrawItems(hwnd(), row, row);
}

int ListViewControl::getSelectedCount() const {
  return static_cast<int>(SendMessageA(hwnd(), LVM_GETSELECTEDCOUNT, 0, 0));
}

int ListViewControl::getSelectionMark() const {
  return static_cast<int>(SendMessageA(hwnd(), LVM_GETSELECTIONMARK, 0, 0));
}

void ListViewControl::insertColumn(int column, const std::string& heading, int width) const {
  insertListColumn(hwnd(), column, heading, width);
}

void insertListColumn(HWND list, int column, const std::string& heading, int width) {
  LVCOLUMNA info = {};
  info.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  info.fmt = LVCFMT_LEFT;
  info.cx = width;
  info.pszText = const_cast<char*>(heading.c_str());
  info.iSubItem = column;
  SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
               reinterpret_cast<LPARAM>(&info));
}

void ListViewControl::setImageList(HIMAGELIST images, int kind) const {
  SendMessageA(hwnd(), LVM_SETIMAGELIST, static_cast<WPARAM>(kind),
               reinterpret_cast<LPARAM>(images));
}

RowBatch::RowBatch(ListViewControl& list) : list_(list) {
  list_.batching_ = true;
  SendMessageA(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_.hwnd(), LVM_DELETEALLITEMS, 0, 0);
}

RowBatch::~RowBatch() {
  list_.batching_ = false;
  list_.showRowCount();
  // The count is set without scrolling; a new listing opens at its top.
  if (list_.rowCount() > 0) ListView_EnsureVisible(list_.hwnd(), 0, FALSE);
  SendMessageA(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

}  // namespace morvane::ui
