// Filling, filtering and sorting the game list.
#include <algorithm>
#include <string>

#include "library/folder_scan.h"
#include "library/list_presentation.h"
#include "library/sort_toggle.h"
#include "platform/exact_path_win32.h"
#include "ui/game_tip.h"
#include "ui/main_dialog.h"

namespace morvane::ui {

ListingContext MainDialog::listing() {
  return ListingContext{entryStore, gameRows, icons, filterText};
}

void MainDialog::scanFolder(const std::string& path) {
  const RowBatch batch(gameList);
  const int leftOut = morvane::scanFolder(path, listing(), listedKinds());
  showListNote(leftOutRecordingsNote(entryStore, leftOut));
}

void MainDialog::showListNote(const std::string& note) {
  if (note.empty()) {
    if (listNote != nullptr) ShowWindow(listNote, SW_HIDE);
    return;
  }
  HWND list = gameList.hwnd();
  if (listNote == nullptr) {
    // A sibling of the list, not a child: the list's own children are its
    // header alone, as the list view expects.
    listNote = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                               hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (listNote == nullptr) return;
    SendMessageW(listNote, WM_SETFONT, SendMessageW(list, WM_GETFONT, 0, 0), FALSE);
    // Without it the list paints its empty rows over the note.
    SetWindowLongPtrW(list, GWL_STYLE, GetWindowLongPtrW(list, GWL_STYLE) | WS_CLIPSIBLINGS);
  }
  // Over the list's rows, below its column headers.
  RECT client{};
  GetClientRect(list, &client);
  MapWindowPoints(list, hwnd(), reinterpret_cast<POINT*>(&client), 2);
  RECT header{};
  GetWindowRect(ListView_GetHeader(list), &header);
  constexpr int kMargin = 6;
  constexpr int kHeight = 64;
  SetWindowTextW(listNote, platform::wideFromExact(note).c_str());
  SetWindowPos(listNote, HWND_TOP, client.left + kMargin,
               client.top + (header.bottom - header.top) + kMargin,
               std::max<int>(0, client.right - client.left - 2 * kMargin), kHeight, SWP_SHOWWINDOW);
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

namespace {

// The text, cut to the room the list gives, NUL-terminated.
template <typename Char>
void answerTip(const std::basic_string<Char>& text, Char* out, int room) {
  if (out == nullptr || room <= 0) return;
  out[text.copy(out, static_cast<std::size_t>(room) - 1)] = Char{};
}

}  // namespace

// A parsed game's length and settings; no tip for any other row, not even
// the list's own one for a cut-off name. Asked in either form, as the
// incremental search is.
void MainDialog::onListGetInfoTip(NMHDR* notification, LRESULT* result) {
  *result = 0;
  // Both forms lay out the same fields; only the text's type differs.
  const auto* asked = reinterpret_cast<const NMLVGETINFOTIPA*>(notification);
  const int32_t index = entryIndexOfRow(asked->iItem);
  const std::string text = index < 0 ? std::string() : gameTipText(entryStore.at(index));
  if (notification->code == LVN_GETINFOTIPW) {
    auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(notification);
    answerTip(platform::wideFromAnsi(text), tip->pszText, tip->cchTextMax);
  } else {
    auto* tip = reinterpret_cast<NMLVGETINFOTIPA*>(notification);
    answerTip(text, tip->pszText, tip->cchTextMax);
  }
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
    prefix = platform::ansiFromWide(reinterpret_cast<const wchar_t*>(find->lvfi.psz));
  }
  *result = gameList.findRow(prefix, find->iStart, (find->lvfi.flags & LVFI_WRAP) != 0);
}

}  // namespace morvane::ui
