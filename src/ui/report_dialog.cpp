// The report window: its table, its layout at any size, the picture and the
// two lists it fills from the report model.
#include "ui/report_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "library/window_placement.h"
#include "platform/exact_path_win32.h"
#include "resource.h"
#include "ui/detail_pane_tables.h"
#include "ui/list_view_control.h"
#include "ui/message_map.h"
#include "ui/report_picture.h"
#include "ui/report_text.h"
#include "ui/resource_text.h"

namespace morvane::ui {
namespace {

// Below this the lists and buttons would overlap; in pixels of the window.
constexpr int kMinimumWidth = 520;
constexpr int kMinimumHeight = 400;
constexpr int kMargin = 8;
constexpr int kPlayerColumnWidths[kPlayerColumns] = {100, 85, 48, 85, 90, 90, 90, 50, 50};

// The report's texts are UTF-8 (report_text.h): every one goes in wide.
void setCell(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = platform::wideFromExact(text);
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW,
               column == 0 ? 0 : static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void insertColumn(HWND list, int column, const std::string& heading, int width) {
  std::wstring wide = platform::wideFromExact(heading);
  LVCOLUMNW info = {};
  info.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  info.fmt = LVCFMT_LEFT;
  info.cx = width;
  info.pszText = wide.data();
  info.iSubItem = column;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
               reinterpret_cast<LPARAM>(&info));
}

void setText(HWND window, const std::string& text) {
  SetWindowTextW(window, platform::wideFromExact(text).c_str());
}

SIZE windowSize(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void place(HWND window, int x, int y, int width, int height) {
  SetWindowPos(window, nullptr, x, y, std::max(width, 0), std::max(height, 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The file's name with .png for its last extension.
std::wstring pictureFileName(const std::string& exactName) {
  std::string name = exactName;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return platform::wideFromExact(name + ".png");
}

}  // namespace

// Unicode, so that names show in the script the recording wrote them in.
ReportDialog::ReportDialog() : Dialog(IDD_REPORT, true) {}

bool ReportDialog::build(HWND owner) {
  if (hwnd() != nullptr) return true;
  return Dialog::create(owner) != nullptr;
}

// Beside the owner where its monitor has room, else covering the least of it.
void ReportDialog::placeBesideOwner() {
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  RECT ownerRect;
  if (owner == nullptr || !GetWindowRect(owner, &ownerRect)) return;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const auto rect = [](const RECT& r) { return ScreenRect{r.left, r.top, r.right, r.bottom}; };
  const SIZE size = windowSize(hwnd());
  const ScreenPoint at = placeBeside(rect(ownerRect), size.cx, size.cy, rect(monitor.rcWork));
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool ReportDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  using Map = MessageMap<ReportDialog>;
  static const Map::Entry table[] = {
      Map::message<&ReportDialog::OnSize>(WM_SIZE),
      Map::message<&ReportDialog::OnGetMinMaxInfo>(WM_GETMINMAXINFO),
      Map::message<&ReportDialog::OnPaint>(WM_PAINT),
      Map::message<&ReportDialog::OnClose>(WM_CLOSE),
      Map::command<&ReportDialog::onSavePicture>(IDC_REPORT_SAVE),
      Map::command<&ReportDialog::onCopy>(IDC_REPORT_COPY),
      Map::notify<&ReportDialog::onPlayersCustomDraw>(IDC_REPORT_PLAYERS, NM_CUSTOMDRAW),
  };
  return Map::dispatch(table, *this, message, wParam, lParam, result);
}

void ReportDialog::DoDataExchange(DataExchange& exchange) {
  exchange.control(IDC_REPORT_STATUS, statusText);
  exchange.control(IDC_REPORT_FACTS, factsList);
  exchange.control(IDC_REPORT_PLAYERS, playersList);
  exchange.control(IDC_REPORT_CHAT, chatBox);
}

BOOL ReportDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  setUpColumns();
  layOut();
  return TRUE;
}

void ReportDialog::setUpColumns() {
  ListView_SetExtendedListViewStyleEx(factsList.hwnd(), LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  ListView_SetExtendedListViewStyleEx(playersList.hwnd(), LVS_EX_FULLROWSELECT,
                                      LVS_EX_FULLROWSELECT);
  insertListColumn(factsList.hwnd(), 0, loadResourceString(IDS_REPORT_FACT), 90);
  insertListColumn(factsList.hwnd(), 1, loadResourceString(IDS_REPORT_VALUE), 150);
  for (int column = 0; column < kPlayerColumns; ++column)
    insertColumn(playersList.hwnd(), column, playerHeading(column), kPlayerColumnWidths[column]);
}

// Closing hides the window; the next opening shows it again, with no
// setting kept of this one.
void ReportDialog::OnCancel() { ShowWindow(hwnd(), SW_HIDE); }

bool ReportDialog::OnClose(WPARAM, LPARAM, INT_PTR&) {
  OnCancel();
  return true;
}

void ReportDialog::show(const GameEntry& entry) {
  shownEntry = entry;
  shownReport = buildGameReport(shownEntry);
  const std::wstring caption = platform::wideFromAnsi(loadResourceString(IDS_REPORT_CAPTION)) +
                               L" - " + platform::wideFromExact(shownReport.fileName);
  SetWindowTextW(hwnd(), caption.c_str());
  fillControls();
  drawPicture();
  if (!IsWindowVisible(hwnd())) {
    placeBesideOwner();
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  }
}

void ReportDialog::fillControls() {
  setText(statusText.hwnd(), stateText(shownReport));
  // The message stands where the picture would; a game has none.
  ShowWindow(statusText.hwnd(), shownReport.state == ReportState::kGame ? SW_HIDE : SW_SHOWNA);
  SendMessageA(factsList.hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(playersList.hwnd(), WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(factsList.hwnd());
  ListView_DeleteAllItems(playersList.hwnd());
  int row = 0;
  for (const ReportLine& line : shownReport.facts) {
    setCell(factsList.hwnd(), row, 0, factLabel(line.fact));
    setCell(factsList.hwnd(), row, 1, factValue(line));
    ++row;
  }
  row = 0;
  for (const ReportPlayer& player : shownReport.players) {
    for (int column = 0; column < kPlayerColumns; ++column)
      setCell(playersList.hwnd(), row, column, playerCell(player, column));
    ++row;
  }
  SendMessageA(factsList.hwnd(), WM_SETREDRAW, TRUE, 0);
  SendMessageA(playersList.hwnd(), WM_SETREDRAW, TRUE, 0);
  setText(chatBox.hwnd(), chatText(shownReport));
  EnableWindow(item(IDC_REPORT_SAVE), shownReport.state == ReportState::kGame);
}

// Picture and facts side by side above, the players and under them the chat
// across the width, the buttons in the bottom right corner.
void ReportDialog::layOut() {
  RECT client;
  GetClientRect(hwnd(), &client);
  const SIZE button = windowSize(item(IDCANCEL));
  const int width = client.right - kMargin * 2;
  const int buttonTop = client.bottom - kMargin - button.cy;
  const int upperHeight = (buttonTop - kMargin * 3) * 11 / 20;
  const int lowerTop = kMargin * 2 + upperHeight;
  // The diamond is twice as wide as tall; the facts keep two fifths at least.
  const int pictureWidth = std::min(upperHeight * 2, width * 3 / 5);
  pictureArea = {kMargin, kMargin, kMargin + pictureWidth, kMargin + pictureWidth / 2};
  place(statusText.hwnd(), kMargin, kMargin, pictureWidth, upperHeight);
  const int factsWidth = width - pictureWidth - kMargin;
  place(factsList.hwnd(), kMargin * 2 + pictureWidth, kMargin, factsWidth, upperHeight);
  // The values take what the labels leave.
  const int labelWidth = ListView_GetColumnWidth(factsList.hwnd(), 0);
  ListView_SetColumnWidth(
      factsList.hwnd(), 1,
      std::max(factsWidth - labelWidth - GetSystemMetrics(SM_CXVSCROLL) - 4, 60));
  // The players keep three fifths of what is left, the chat the rest.
  const int lowerHeight = buttonTop - kMargin - lowerTop;
  const int playersHeight = (lowerHeight - kMargin) * 3 / 5;
  place(playersList.hwnd(), kMargin, lowerTop, width, playersHeight);
  const int chatTop = lowerTop + playersHeight + kMargin;
  place(chatBox.hwnd(), kMargin, chatTop, width, buttonTop - kMargin - chatTop);
  const int ids[] = {IDC_REPORT_SAVE, IDC_REPORT_COPY, IDCANCEL};
  int x = client.right - kMargin;
  for (auto id = std::rbegin(ids); id != std::rend(ids); ++id) {
    const SIZE size = windowSize(item(*id));
    x -= size.cx;
    place(item(*id), x, buttonTop, size.cx, size.cy);
    x -= kMargin / 2;
  }
}

void ReportDialog::drawPicture() {
  const int32_t size = pictureArea.right - pictureArea.left;
  if (shownReport.state == ReportState::kGame && size >= kMinimapMinSize) {
    picture = drawMinimap(shownEntry, size);
  } else {
    picture = Picture();
  }
  pictureBitmap.reset(bitmapOfPicture(picture, GetSysColor(COLOR_BTNFACE)));
  InvalidateRect(hwnd(), &pictureArea, TRUE);
}

bool ReportDialog::OnSize(WPARAM, LPARAM, INT_PTR&) {
  const RECT before = pictureArea;
  layOut();
  if (before.right - before.left != pictureArea.right - pictureArea.left) {
    InvalidateRect(hwnd(), &before, TRUE);
    drawPicture();
  }
  return true;
}

bool ReportDialog::OnGetMinMaxInfo(WPARAM, LPARAM info, INT_PTR&) {
  auto* limits = reinterpret_cast<MINMAXINFO*>(info);
  limits->ptMinTrackSize = {kMinimumWidth, kMinimumHeight};
  return true;
}

bool ReportDialog::OnPaint(WPARAM, LPARAM, INT_PTR&) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  if (pictureBitmap.get() != nullptr) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, pictureBitmap.get());
    BitBlt(dc, pictureArea.left, pictureArea.top, picture.width, picture.height, source, 0, 0,
           SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }
  EndPaint(hwnd(), &paint);
  return true;
}

void ReportDialog::onPlayersCustomDraw(NMHDR* notification, LRESULT* result) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(notification);
  *result = CDRF_DODEFAULT;
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *result = CDRF_NOTIFYITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT:
      *result = CDRF_NOTIFYSUBITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const auto row = static_cast<std::size_t>(draw->nmcd.dwItemSpec);
      const bool name = draw->iSubItem == 0 && row < shownReport.players.size();
      // The name in the player's colour, as the pane draws it.
      draw->clrText =
          name ? slotColour(shownReport.players[row].colourIndex) : GetSysColor(COLOR_WINDOWTEXT);
      return;
    }
    default:
      return;
  }
}

void ReportDialog::onSavePicture() {
  if (picture.rgba.empty()) return;
  std::wstring file = pictureFileName(shownEntry.exactName);
  file.resize(std::max<std::size_t>(file.size() + 1, MAX_PATH * 4), L'\0');
  const std::wstring filter =
      platform::wideFromAnsi(loadResourceString(IDS_REPORT_PNG_FILTER)) + L'\0' + L"*.png" + L'\0';
  OPENFILENAMEW info = {};
  info.lStructSize = sizeof info;
  info.hwndOwner = hwnd();
  info.lpstrFilter = filter.c_str();
  info.lpstrFile = file.data();
  info.nMaxFile = static_cast<DWORD>(file.size());
  info.lpstrDefExt = L"png";
  info.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  const std::optional<std::wstring> chosen = savePicker(info);
  if (!chosen) return;
  if (!savePictureAsPng(picture, *chosen)) {
    MessageBeep(MB_ICONWARNING);
  }
}

std::string ReportDialog::reportText() const { return ui::reportText(shownReport); }

void ReportDialog::onCopy() { copyTextToClipboard(hwnd(), platform::wideFromExact(reportText())); }

}  // namespace morvane::ui
