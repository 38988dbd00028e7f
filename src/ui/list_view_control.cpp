#include "ui/list_view_control.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace morvane::ui {

void ListViewControl::deleteAllItems() {
  rows_.deleteAllItems();
  // Also clears the selection, which the list keeps by row position.
  SendMessageA(hwnd(), LVM_DELETEALLITEMS, 0, 0);
}

int ListViewControl::insertItem(int position, const std::string& name) {
  const int row = rows_.insertItem(position, name);
  if (!batching_) showRowCount();
  return row;
}

void ListViewControl::setItemImage(int row, int image) {
  rows_.setItemImage(row, image);
  redrawRow(row);
}

void ListViewControl::setItemText(int row, int column, const std::string& text) {
  rows_.setItemText(row, column, text);
  redrawRow(row);
}

void ListViewControl::setItemData(int row, intptr_t data) { rows_.setItemData(row, data); }

intptr_t ListViewControl::getItemData(int row) const {
  if (row < 0 || row >= rows_.getItemCount()) return -1;
  return rows_.getItemData(row);
}

int ListViewControl::getItemCount() const { return rows_.getItemCount(); }

std::string ListViewControl::getItemText(int row, int column) const {
  return rows_.getItemText(row, column);
}

void ListViewControl::sortItems(const RowComparison& compare, intptr_t parameter) {
  // The list keeps the selection, focus and mark by position; they follow
  // their rows to where the sort puts them.
  std::vector<intptr_t> selected;
  for (int row = -1; (row = ListView_GetNextItem(hwnd(), row, LVNI_SELECTED)) >= 0;) {
    selected.push_back(rows_.getItemData(row));
  }
  const intptr_t focused = getItemData(ListView_GetNextItem(hwnd(), -1, LVNI_FOCUSED));
  const intptr_t mark = getItemData(getSelectionMark());
  rows_.sortItems(compare, parameter);
  if (!selected.empty() || focused >= 0 || mark >= 0) {
    std::sort(selected.begin(), selected.end());
    restoring_ = true;
    ListView_SetItemState(hwnd(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    int newMark = -1;
    for (int row = 0; row < rows_.getItemCount(); ++row) {
      const intptr_t data = rows_.getItemData(row);
      if (std::binary_search(selected.begin(), selected.end(), data)) {
        ListView_SetItemState(hwnd(), row, LVIS_SELECTED, LVIS_SELECTED);
      }
      if (data == focused) ListView_SetItemState(hwnd(), row, LVIS_FOCUSED, LVIS_FOCUSED);
      if (data == mark) newMark = row;
    }
    SendMessageA(hwnd(), LVM_SETSELECTIONMARK, 0, newMark);
    restoring_ = false;
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListViewControl::answerDisplayInfo(NMLVDISPINFOA& request) const {
  LVITEMA& item = request.item;
  const int row = item.iItem;
  if (row < 0 || row >= rows_.getItemCount()) return;
  const RowModel::Row& cells = rows_.row(row);
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0 &&
      item.iSubItem >= 0 && item.iSubItem < kColumns) {
    const std::string& text = cells.cells[static_cast<std::size_t>(item.iSubItem)];
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, length);
    item.pszText[length] = '\0';
  }
  if ((item.mask & LVIF_IMAGE) != 0) item.iImage = cells.image;
  if ((item.mask & LVIF_PARAM) != 0) item.lParam = cells.data;
}

int ListViewControl::findRow(const std::string& prefix, int start, bool wrap) const {
  const int count = rows_.getItemCount();
  if (prefix.empty() || count == 0) return -1;
  const int first = start >= 0 && start < count ? start : 0;
  const int tried = wrap ? count : count - first;
  const auto length = static_cast<int>(prefix.size());
  for (int i = 0; i < tried; ++i) {
    const int row = (first + i) % count;
    const std::string& name = rows_.row(row).cells[0];
    if (name.size() < prefix.size()) continue;
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.data(), length, prefix.data(),
                       length) == CSTR_EQUAL) {
      return row;
    }
  }
  return -1;
}

void ListViewControl::showRowCount() const {
  SendMessageA(hwnd(), LVM_SETITEMCOUNT, static_cast<WPARAM>(rows_.getItemCount()),
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
  LVCOLUMNA info = {};
  info.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  info.fmt = LVCFMT_LEFT;
  info.cx = width;
  info.pszText = const_cast<char*>(heading.c_str());
  info.iSubItem = column;
  SendMessageA(hwnd(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
               reinterpret_cast<LPARAM>(&info));
}

void ListViewControl::setImageList(HIMAGELIST images, int kind) const {
  SendMessageA(hwnd(), LVM_SETIMAGELIST, static_cast<WPARAM>(kind),
               reinterpret_cast<LPARAM>(images));
}

RowBatch::RowBatch(ListViewControl& list) : list_(list) {
  list_.batching_ = true;
  SendMessageA(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
}

RowBatch::~RowBatch() {
  list_.batching_ = false;
  list_.showRowCount();
  SendMessageA(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

}  // namespace morvane::ui
