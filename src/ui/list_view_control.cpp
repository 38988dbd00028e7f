#include "ui/list_view_control.h"

#include <commctrl.h>

namespace morvane::ui {
namespace {

struct SortRequest {
  const RowComparison* compare;
  intptr_t parameter;
};

// A comparison that throws ranks the two rows equal: nothing may unwind
// into the list view's frames.
int CALLBACK compareRows(LPARAM first, LPARAM second, LPARAM request) {
  const auto* sort = reinterpret_cast<const SortRequest*>(request);
  try {
    return (*sort->compare)(first, second, sort->parameter);
  } catch (...) {
    return 0;
  }
}

}  // namespace

void ListViewControl::deleteAllItems() { SendMessageA(hwnd(), LVM_DELETEALLITEMS, 0, 0); }

int ListViewControl::insertItem(int position, const std::string& name) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = position;
  item.pszText = const_cast<char*>(name.c_str());
  return static_cast<int>(
      SendMessageA(hwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListViewControl::setItemImage(int row, int image) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image;
  SendMessageA(hwnd(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ListViewControl::setItemText(int row, int column, const std::string& text) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(hwnd(), LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListViewControl::setItemData(int row, intptr_t data) {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  item.lParam = data;
  SendMessageA(hwnd(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

intptr_t ListViewControl::getItemData(int row) const {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageA(hwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.lParam;
}

int ListViewControl::getItemCount() const {
  return static_cast<int>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0));
}

std::string ListViewControl::getItemText(int row, int column) const {
  // The list answers the length it copied; a full buffer may mean more.
  for (int size = 256;; size *= 2) {
    std::string text(static_cast<std::size_t>(size), '\0');
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = size;
    const auto copied = static_cast<int>(SendMessageA(
        hwnd(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied < size - 1 || size >= (1 << 20)) {
      text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
      return text;
    }
  }
}

void ListViewControl::sortItems(const RowComparison& compare, intptr_t parameter) {
  SortRequest request{&compare, parameter};
  SendMessageA(hwnd(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(&request),
               reinterpret_cast<LPARAM>(&compareRows));
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

UnsortedInsertion::UnsortedInsertion(const ListViewControl& list)
    : list_(list.hwnd()), style_(GetWindowLongPtrA(list_, GWL_STYLE)) {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  SetWindowLongPtrA(list_, GWL_STYLE, style_ & ~static_cast<LONG_PTR>(LVS_SORTASCENDING));
}

UnsortedInsertion::~UnsortedInsertion() {
  SetWindowLongPtrA(list_, GWL_STYLE, style_);
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace morvane::ui
