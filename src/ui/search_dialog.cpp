#include "ui/search_dialog.h"

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>

#include <iterator>

#include "library/civilisation_names.h"
#include "platform/exact_path_win32.h"
#include "platform/path.h"
#include "resource.h"
#include "ui/list_view_control.h"
#include "ui/message_map.h"
#include "ui/resource_text.h"

namespace morvane::ui {
namespace {

// Posted by the worker: files done (wParam) of total (lParam); it ended.
constexpr UINT kProgressMessage = WM_APP + 10;
constexpr UINT kFinishedMessage = WM_APP + 11;
// One progress message per this many files: a tree of thousands must not
// flood the queue.
constexpr std::size_t kProgressStep = 8;
constexpr std::size_t kShownGames = 1000;
// While an update runs, the results are searched again at most this often.
constexpr ULONGLONG kRefreshMs = 500;
constexpr int kTipWidth = 600;  // pixels; longer lines are wrapped
// Date, players, map, length, recordings, then each player's actions per
// minute and counts of buildings, units and research.
constexpr int kColumnWidths[] = {108, 300, 88, 52, 115, 90, 140};
constexpr int kColumns = static_cast<int>(std::size(kColumnWidths));

// Beyond any civilisation id an edition gives.
constexpr int32_t kLastCivilisation = 255;

std::string utf8Of(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return platform::exactFromWide(text);
}

void setUtf8(HWND window, const std::string& utf8) {
  SetWindowTextW(window, platform::wideFromExact(utf8).c_str());
}

void setCell(HWND list, int row, int column, const std::string& utf8) {
  std::wstring text = platform::wideFromExact(utf8);
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = text.data();
  SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW,
               column == 0 ? 0 : static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// %LOCALAPPDATA%\Morvane\archive.sqlite, the folder made when missing.
std::string defaultIndexPath() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, folder)))
    return {};
  std::wstring ours = std::wstring(folder) + L"\\Morvane";
  CreateDirectoryW(ours.c_str(), nullptr);
  return platform::exactFromWide(ours + L"\\archive.sqlite");
}

unsigned cores() {
  SYSTEM_INFO info = {};
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
}

}  // namespace

SearchDialog::SearchDialog() : Dialog(IDD_SEARCH) {}

SearchDialog::~SearchDialog() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

bool SearchDialog::build(HWND owner) {
  if (hwnd() != nullptr) return true;
  if (Dialog::create(owner) == nullptr) return false;
  // Cascaded from its owner, as the report is.
  RECT ownerRect;
  if (owner != nullptr && GetWindowRect(owner, &ownerRect)) {
    const int step = GetSystemMetrics(SM_CYCAPTION);
    SetWindowPos(hwnd(), nullptr, ownerRect.left + step, ownerRect.top + step, 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return true;
}

bool SearchDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  using Map = MessageMap<SearchDialog>;
  static const Map::Entry table[] = {
      Map::message<&SearchDialog::onProgress>(kProgressMessage),
      Map::message<&SearchDialog::onFinished>(kFinishedMessage),
      Map::message<&SearchDialog::OnClose>(WM_CLOSE),
      Map::command<&SearchDialog::onFind>(IDC_SEARCH_FIND),
      Map::command<&SearchDialog::onUpdate>(IDC_SEARCH_UPDATE),
      Map::command<&SearchDialog::onStop>(IDC_SEARCH_STOP),
      Map::command<&SearchDialog::onReport>(IDC_SEARCH_REPORT),
      Map::command<&SearchDialog::onSelectInList>(IDC_SEARCH_SELECT),
      Map::notify<&SearchDialog::onResultsDoubleClick>(IDC_SEARCH_RESULTS, NM_DBLCLK),
      Map::notify<&SearchDialog::onColumnClick>(IDC_SEARCH_RESULTS, LVN_COLUMNCLICK),
  };
  return Map::dispatch(table, *this, message, wParam, lParam, result);
}

void SearchDialog::DoDataExchange(DataExchange& exchange) {
  exchange.control(IDC_SEARCH_FOLDER, folderText);
  exchange.control(IDC_SEARCH_PLAYER, playerEdit);
  exchange.control(IDC_SEARCH_CIV, civCombo);
  exchange.control(IDC_SEARCH_MAP, mapEdit);
  exchange.control(IDC_SEARCH_RESULT, resultCombo);
  exchange.control(IDC_SEARCH_FROM, fromEdit);
  exchange.control(IDC_SEARCH_TO, toEdit);
  exchange.control(IDC_SEARCH_RESULTS, resultsList);
  exchange.control(IDC_SEARCH_STATUS, statusText);
  exchange.control(IDC_SEARCH_PROGRESS, progressBar);
  exchange.control(IDC_SEARCH_UPDATE, updateButton);
  exchange.control(IDC_SEARCH_STOP, stopButton);
}

BOOL SearchDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  setUpControls();
  return TRUE;
}

void SearchDialog::setUpControls() {
  SendMessageA(civCombo.hwnd(), CB_ADDSTRING, 0,
               reinterpret_cast<LPARAM>(loadResourceString(IDS_SEARCH_ANY).c_str()));
  // Every civilisation the names table knows, in id order, so that an
  // item's index is its id; the table's first unknown id ends it.
  for (int32_t civ = 1; civ <= kLastCivilisation; ++civ) {
    const std::string name = civilisationNameInJapanese(civ);
    if (name.empty() || name[0] == '#') break;
    SendMessageW(civCombo.hwnd(), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(platform::wideFromExact(name).c_str()));
  }
  SendMessageA(civCombo.hwnd(), CB_SETCURSEL, 0, 0);
  for (UINT text : {IDS_SEARCH_ANY, IDS_SEARCH_WON, IDS_SEARCH_LOST}) {
    SendMessageA(resultCombo.hwnd(), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(loadResourceString(text).c_str()));
  }
  SendMessageA(resultCombo.hwnd(), CB_SETCURSEL, 0, 0);
  ListView_SetExtendedListViewStyleEx(resultsList.hwnd(), LVS_EX_FULLROWSELECT,
                                      LVS_EX_FULLROWSELECT);
  setUpTip();
  for (int column = 0; column < kColumns; ++column) {
    insertListColumn(resultsList.hwnd(), column,
                     loadResourceString(static_cast<UINT>(IDS_SEARCH_COLUMN_FIRST + column)),
                     kColumnWidths[column]);
  }
  markSortedColumn();
  SendMessageA(progressBar.hwnd(), PBM_SETRANGE32, 0, 1);
  EnableWindow(stopButton.hwnd(), FALSE);
}

void SearchDialog::show(const std::string& folder) {
  folder_ = folder;
  setUtf8(folderText.hwnd(), folder_);
  if (indexPath_.empty()) indexPath_ = defaultIndexPath();
  ShowWindow(hwnd(), SW_SHOW);
  SetActiveWindow(hwnd());
  if (updating()) return;
  // What the index holds answers at once; the update then brings it up to
  // date with the tree, the results growing as it goes. A damaged index
  // waits for the user's word before it is made anew.
  if (!openReader()) return;
  onFind();
  onUpdate();
}

bool SearchDialog::openReader() {
  if (reader_) return true;
  try {
    // The pages are checked when the worker updates; opening to search
    // must be quick on an index of any size.
    reader_ = std::make_unique<archive::Archive>(indexPath_, archive::Archive::Check::kNone);
    damaged_ = false;
    return true;
  } catch (const archive::ArchiveError& error) {
    damaged_ = error.problem() == archive::ArchiveProblem::kDamaged;
    showStatus(std::string(damaged_ ? "索引が壊れています。「作り直す」で録画から作り直します: "
                                    : "索引を使えません: ") +
               error.what());
    if (damaged_) setUtf8(updateButton.hwnd(), "作り直す(&R)");
    return false;
  }
}

void SearchDialog::showStatus(const std::string& utf8) { setUtf8(statusText.hwnd(), utf8); }

archive::SearchForm SearchDialog::readForm() const {
  archive::SearchForm form;
  form.player = utf8Of(playerEdit.hwnd());
  form.map = utf8Of(mapEdit.hwnd());
  form.from = utf8Of(fromEdit.hwnd());
  form.to = utf8Of(toEdit.hwnd());
  const LRESULT civ = SendMessageA(civCombo.hwnd(), CB_GETCURSEL, 0, 0);
  form.civId = civ > 0 ? static_cast<int32_t>(civ) : 0;
  const LRESULT result = SendMessageA(resultCombo.hwnd(), CB_GETCURSEL, 0, 0);
  if (result == 1) form.result = archive::SearchForm::Result::kWon;
  if (result == 2) form.result = archive::SearchForm::Result::kLost;
  return form;
}

void SearchDialog::onFind() { searchAgain(false); }

void SearchDialog::searchAgain(bool quiet) {
  if (!openReader()) return;
  try {
    archive::SearchPage page = archive::searchGames(
        *reader_, readForm(), platform::joinPath(folder_, "", '\\'), kShownGames);
    if (page.problem != archive::FormProblem::kNone) {
      showStatus(page.problem == archive::FormProblem::kBadFrom
                     ? "開始日が読めません (例: 2024-05-01, 2024-05)"
                     : "終了日が読めません (例: 2024-05-31, 2024-05)");
      return;
    }
    lines_ = std::move(page.lines);
    archive::sortLines(lines_, order_);
    fillResults();
    if (!quiet)
      showStatus(std::to_string(lines_.size()) + (page.more ? " 試合以上" : " 試合"));
  } catch (const archive::ArchiveError& error) {
    reader_.reset();
    lines_.clear();
    fillResults();
    damaged_ = error.problem() == archive::ArchiveProblem::kDamaged;
    if (damaged_) setUtf8(updateButton.hwnd(), "作り直す(&R)");
    showStatus(std::string("索引を読めません: ") + error.what());
  }
}

void SearchDialog::fillResults() {
  HWND list = resultsList.hwnd();
  const int before = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  const std::string chosen =
      before >= 0 && before < ListView_GetItemCount(list) && !shownFirstPaths_.empty()
          ? shownFirstPaths_[static_cast<std::size_t>(before)]
          : std::string();
  const int top = ListView_GetTopIndex(list);
  bool chosenShown = false;
  shownFirstPaths_.clear();
  hideTip();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const archive::ResultLine& line = lines_[i];
    const int row = static_cast<int>(i);
    setCell(list, row, 0, line.date);
    setCell(list, row, 1, line.players);
    setCell(list, row, 2, line.map);
    setCell(list, row, 3, line.length);
    setCell(list, row, 4, line.recordings);
    setCell(list, row, 5, line.actions);
    setCell(list, row, 6, line.counts);
    shownFirstPaths_.push_back(line.firstPath);
    if (!chosen.empty() && line.firstPath == chosen) {
      ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list, row, FALSE);
      chosenShown = true;
    }
  }
  // Lines growing during an update leave the list where it was scrolled.
  RECT first = {};
  if (!chosenShown && top > 0 && ListView_GetItemRect(list, 0, &first, LVIR_BOUNDS))
    ListView_Scroll(list, 0, top * (first.bottom - first.top));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

void SearchDialog::onUpdate() {
  if (updating() || folder_.empty()) return;
  const bool rebuild = damaged_;
  // The window's reader made the index's tables before the worker opens it;
  // only a rebuild removes the file under it.
  if (rebuild) reader_.reset();
  lastRefresh_ = GetTickCount64();
  stop_ = false;
  setUpdating(true);
  showStatus(rebuild ? "索引を作り直しています..." : "索引を更新しています...");
  archive::UpdateRequest request;
  request.folders = {folder_};
  updatedFolder_ = folder_;
  request.recursive = true;
  request.separator = '\\';
  request.jobs = cores();
  request.fallbackCodePage = static_cast<int>(GetACP());
  const HWND window = hwnd();
  worker_ = std::thread([this, request, rebuild, window, path = indexPath_] {
    std::string error;
    bool damaged = false;
    archive::UpdateStats stats;
    try {
      if (rebuild) archive::Archive::removeIndexFiles(path);
      archive::Archive archive(path);
      archive::UpdateControl control;
      control.stop = &stop_;
      control.progress = [window](const archive::UpdateProgress& progress) {
        if (progress.done % kProgressStep == 0 || progress.done == progress.total)
          PostMessageW(window, kProgressMessage, progress.done, static_cast<LPARAM>(progress.total));
      };
      stats = archive.update(request, control);
    } catch (const archive::ArchiveError& failure) {
      error = failure.what();
      damaged = failure.problem() == archive::ArchiveProblem::kDamaged;
    } catch (const std::exception& failure) {
      error = failure.what();
    }
    {
      const std::lock_guard<std::mutex> lock(finishedMutex_);
      workerError_ = error;
      workerDamaged_ = damaged;
      workerStats_ = stats;
    }
    PostMessageW(window, kFinishedMessage, 0, 0);
  });
}

void SearchDialog::onStop() { stop_ = true; }

void SearchDialog::setUpdating(bool running) {
  EnableWindow(updateButton.hwnd(), running ? FALSE : TRUE);
  EnableWindow(stopButton.hwnd(), running ? TRUE : FALSE);
  SendMessageW(progressBar.hwnd(), PBM_SETPOS, 0, 0);
}

bool SearchDialog::onProgress(WPARAM done, LPARAM total, INT_PTR&) {
  SendMessageW(progressBar.hwnd(), PBM_SETRANGE32, 0, total);
  SendMessageW(progressBar.hwnd(), PBM_SETPOS, done, 0);
  showStatus("索引を更新しています: " + std::to_string(done) + " / " + std::to_string(total));
  const ULONGLONG now = GetTickCount64();
  if (reader_ && now - lastRefresh_ >= kRefreshMs) {
    lastRefresh_ = now;
    searchAgain(true);
  }
  return true;
}

bool SearchDialog::onFinished(WPARAM, LPARAM, INT_PTR&) {
  if (worker_.joinable()) worker_.join();
  setUpdating(false);
  std::string error;
  archive::UpdateStats stats;
  {
    const std::lock_guard<std::mutex> lock(finishedMutex_);
    error = workerError_;
    damaged_ = workerDamaged_;
    stats = workerStats_;
  }
  setUtf8(updateButton.hwnd(), damaged_ ? "作り直す(&R)" : "索引を更新(&U)");
  if (!error.empty()) {
    showStatus(std::string(damaged_ ? "索引が壊れています。「作り直す」で録画から作り直します: "
                                    : "索引を更新できません: ") +
               error);
    return true;
  }
  SendMessageW(progressBar.hwnd(), PBM_SETRANGE32, 0, 1);
  SendMessageW(progressBar.hwnd(), PBM_SETPOS, 1, 0);
  if (!openReader()) return true;
  onFind();
  // The window was shown over another tree while this one was read.
  if (!stats.stopped && updatedFolder_ != folder_) {
    onUpdate();
    return true;
  }
  const archive::ArchiveCounts counts = reader_->counts();
  std::string status = std::string(stats.stopped ? "中止しました" : "索引を更新しました") +
                       ": 読込 " + std::to_string(stats.read) + ", 変更なし " +
                       std::to_string(stats.unchanged) + ", 削除 " + std::to_string(stats.removed) +
                       " / 索引に録画 " + std::to_string(counts.recordings) + ", 試合 " +
                       std::to_string(counts.games) + " — " + std::to_string(lines_.size()) +
                       " 試合を表示";
  showStatus(status);
  return true;
}

int SearchDialog::selectedLine() const {
  const int row = ListView_GetNextItem(resultsList.hwnd(), -1, LVNI_SELECTED);
  return row >= 0 && row < static_cast<int>(lines_.size()) ? row : -1;
}

void SearchDialog::onReport() {
  const int line = selectedLine();
  if (line < 0 || !host_.openReport) return;
  const archive::ResultLine& chosen = lines_[static_cast<std::size_t>(line)];
  host_.openReport(chosen.firstPath.empty() ? chosen.paths.front() : chosen.firstPath);
}

void SearchDialog::onSelectInList() {
  const int line = selectedLine();
  if (line < 0 || !host_.selectInList) return;
  const archive::ResultLine& chosen = lines_[static_cast<std::size_t>(line)];
  host_.selectInList(chosen.firstPath.empty() ? chosen.paths.front() : chosen.firstPath);
}

void SearchDialog::onResultsDoubleClick(NMHDR*, LRESULT*) { onReport(); }

void SearchDialog::onColumnClick(NMHDR* notification, LRESULT*) {
  const int column = reinterpret_cast<NMLISTVIEW*>(notification)->iSubItem;
  if (column < 0 || column >= archive::kResultColumns) return;
  order_ = archive::orderAfterClick(order_, static_cast<archive::ResultColumn>(column));
  archive::sortLines(lines_, order_);
  fillResults();
  markSortedColumn();
}

// The header's arrow on the column the lines are sorted by.
void SearchDialog::markSortedColumn() {
  const HWND header = ListView_GetHeader(resultsList.hwnd());
  for (int column = 0; column < archive::kResultColumns; ++column) {
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    if (!Header_GetItem(header, column, &item)) continue;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == static_cast<int>(order_.column))
      item.fmt |= order_.descending ? HDF_SORTDOWN : HDF_SORTUP;
    Header_SetItem(header, column, &item);
  }
}

// The list's tip is a tooltip of the window's own, shown where the pointer
// rests on a line and moved from line to line: the same on every system,
// whatever its list view does with tips.
void SearchDialog::setUpTip() {
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(),
                         nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tip_ == nullptr) return;
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(resultsList.hwnd());
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
  SetWindowSubclass(resultsList.hwnd(), &SearchDialog::resultsListProc, 0,
                    reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK SearchDialog::resultsListProc(HWND list, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* dialog = reinterpret_cast<SearchDialog*>(self);
  switch (message) {
    case WM_MOUSEMOVE: {
      const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (dialog->rowAt(at) != dialog->tipRow_) dialog->hideTip();
      TRACKMOUSEEVENT track = {sizeof track, TME_HOVER | TME_LEAVE, list, HOVER_DEFAULT};
      TrackMouseEvent(&track);
      break;
    }
    case WM_MOUSEHOVER:
      // No exception may unwind through the system's frames.
      try {
        dialog->showTip({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      } catch (...) {
        dialog->hideTip();
      }
      break;
    case WM_MOUSELEAVE:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
      dialog->hideTip();
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, &SearchDialog::resultsListProc, 0);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

int SearchDialog::rowAt(POINT at) const {
  LVHITTESTINFO hit = {};
  hit.pt = at;
  const int row = ListView_HitTest(resultsList.hwnd(), &hit);
  return row >= 0 && row < static_cast<int>(lines_.size()) ? row : -1;
}

void SearchDialog::showTip(POINT at) {
  const int row = rowAt(at);
  if (tip_ == nullptr || row < 0) return;
  std::wstring text = platform::wideFromExact(lines_[static_cast<std::size_t>(row)].tip);
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(resultsList.hwnd());
  tool.lpszText = text.data();
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  POINT screen = at;
  ClientToScreen(resultsList.hwnd(), &screen);
  const int below = GetSystemMetrics(SM_CYCURSOR) / 2;
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y + below));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  tipRow_ = row;
}

void SearchDialog::hideTip() {
  if (tip_ == nullptr || tipRow_ < 0) return;
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(resultsList.hwnd());
  SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  tipRow_ = -1;
}

// Enter searches, wherever the focus is in the form.
void SearchDialog::OnOK() { onFind(); }

// Closing hides the window; an update running goes on and ends by itself.
void SearchDialog::OnCancel() { ShowWindow(hwnd(), SW_HIDE); }

bool SearchDialog::OnClose(WPARAM, LPARAM, INT_PTR&) {
  OnCancel();
  return true;
}

}  // namespace morvane::ui
