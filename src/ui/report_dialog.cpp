// The report window: its table, its layout at any size, the two pictures
// and the lists it fills from the report model.
#include "ui/report_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

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
constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 480;
constexpr int kMargin = 8;
// An age reached after its click reads "0:13:08 (0:11:00)".
constexpr int kPlayerColumnWidths[kPlayerColumns] = {100, 85, 48, 85, 115, 115, 115, 50, 50, 45};
// The narrowest a build order's column gets: "12:34 " and a name of about
// eight characters, or an English one.
constexpr int kBuildColumnMinWidth = 115;
// Posted by show: the play is read once the selection has been answered.
constexpr UINT kPlayMessage = WM_APP + 20;

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

// The file's name with suffix and .png for its last extension.
std::wstring pictureFileName(const std::string& exactName, const std::string& suffix) {
  std::string name = exactName;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return platform::wideFromExact(name + suffix + ".png");
}

// What a picture needs to be drawn: a game's report.
bool isGame(const GameReport& report) { return report.state == ReportState::kGame; }

void blit(HDC dc, const RECT& area, const Picture& picture, HBITMAP bitmap) {
  if (bitmap == nullptr) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  BitBlt(dc, area.left, area.top, picture.width, picture.height, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

// A list view's cells in the colours colourOf gives by row and column; the
// window's text colour where it gives none.
template <typename ColourOf>
void colourCells(NMHDR* notification, LRESULT* result, ColourOf colourOf) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(notification);
  *result = CDRF_DODEFAULT;
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *result = CDRF_NOTIFYITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT:
      *result = CDRF_NOTIFYSUBITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      draw->clrText = colourOf(static_cast<std::size_t>(draw->nmcd.dwItemSpec),
                               static_cast<std::size_t>(draw->iSubItem))
                          .value_or(GetSysColor(COLOR_WINDOWTEXT));
      return;
    default:
      return;
  }
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
      Map::message<&ReportDialog::OnPlay>(kPlayMessage),
      Map::command<&ReportDialog::onSavePicture>(IDC_REPORT_SAVE),
      Map::command<&ReportDialog::onSaveChart>(IDC_REPORT_SAVE_CHART),
      Map::command<&ReportDialog::onCopy>(IDC_REPORT_COPY),
      Map::notify<&ReportDialog::onPlayersCustomDraw>(IDC_REPORT_PLAYERS, NM_CUSTOMDRAW),
      Map::notify<&ReportDialog::onBuildCustomDraw>(IDC_REPORT_BUILD, NM_CUSTOMDRAW),
  };
  return Map::dispatch(table, *this, message, wParam, lParam, result);
}

void ReportDialog::DoDataExchange(DataExchange& exchange) {
  exchange.control(IDC_REPORT_STATUS, statusText);
  exchange.control(IDC_REPORT_FACTS, factsList);
  exchange.control(IDC_REPORT_PLAYERS, playersList);
  exchange.control(IDC_REPORT_CHAT, chatBox);
  exchange.control(IDC_REPORT_BUILD, buildList);
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
  ListView_SetExtendedListViewStyleEx(buildList.hwnd(), LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
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

void ReportDialog::show(const GameEntry& entry, const std::string& exactPath) {
  shownEntry = entry;
  shownReport = buildGameReport(shownEntry);
  shownPath = exactPath;
  shownPlay.reset();
  // One message for any number of quick selections: it reads the last.
  if (isGame(shownReport) && playReader && !playPending)
    playPending = PostMessageW(hwnd(), kPlayMessage, 0, 0) != 0;
  const std::wstring caption = platform::wideFromAnsi(loadResourceString(IDS_REPORT_CAPTION)) +
                               L" - " + platform::wideFromExact(shownReport.fileName);
  SetWindowTextW(hwnd(), caption.c_str());
  fillControls();
  drawPicture();
  drawChart();
  if (!IsWindowVisible(hwnd())) {
    placeBesideOwner();
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  }
}

bool ReportDialog::OnPlay(WPARAM, LPARAM, INT_PTR&) {
  playPending = false;
  if (!isGame(shownReport) || !playReader) return true;
  const std::optional<GamePlay> play = playReader(shownPath, shownEntry);
  if (!play) return true;
  addPlay(shownReport, *play, reportStepNamer(shownEntry.facts.read().version.family));
  shownPlay = play;
  fillPlayers();
  fillBuildOrders();
  drawPicture();
  drawChart();
  return true;
}

void ReportDialog::fillPlayers() {
  HWND list = playersList.hwnd();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  int row = 0;
  for (const ReportPlayer& player : shownReport.players) {
    for (int column = 0; column < kPlayerColumns; ++column)
      setCell(list, row, column, playerCell(player, column));
    ++row;
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

// As many players side by side as the list's width holds, a row a step.
int ReportDialog::buildOrdersAcross() const {
  RECT client;
  GetClientRect(buildList.hwnd(), &client);
  const int width = static_cast<int>(client.right) - GetSystemMetrics(SM_CXVSCROLL);
  const int players = std::max(static_cast<int>(buildColumns.size()), 1);
  return std::clamp(width / kBuildColumnMinWidth, 1, players);
}

void ReportDialog::fillBuildOrders() {
  HWND list = buildList.hwnd();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  while (ListView_DeleteColumn(list, 0)) {
  }
  buildColumns =
      shownReport.hasPlay ? buildOrderColumns(shownReport) : std::vector<BuildOrderColumn>();
  buildAcross = buildOrdersAcross();
  buildGrid = buildOrderGrid(buildColumns, buildAcross);
  if (!buildColumns.empty()) {
    RECT client;
    GetClientRect(list, &client);
    const int width =
        std::max((static_cast<int>(client.right) - GetSystemMetrics(SM_CXVSCROLL)) / buildAcross,
                 kBuildColumnMinWidth);
    for (int column = 0; column < buildAcross; ++column) insertColumn(list, column, "", width);
  }
  for (std::size_t row = 0; row < buildGrid.size(); ++row) {
    for (std::size_t column = 0; column < buildGrid[row].size(); ++column)
      setCell(list, static_cast<int>(row), static_cast<int>(column), buildGrid[row][column].text);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

void ReportDialog::fillControls() {
  setText(statusText.hwnd(), stateText(shownReport));
  // The message stands where the picture would; a game has none.
  ShowWindow(statusText.hwnd(), shownReport.state == ReportState::kGame ? SW_HIDE : SW_SHOWNA);
  SendMessageA(factsList.hwnd(), WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(factsList.hwnd());
  int row = 0;
  for (const ReportLine& line : shownReport.facts) {
    setCell(factsList.hwnd(), row, 0, factLabel(line.fact));
    setCell(factsList.hwnd(), row, 1, factValue(line));
    ++row;
  }
  SendMessageA(factsList.hwnd(), WM_SETREDRAW, TRUE, 0);
  fillPlayers();
  fillBuildOrders();
  setText(chatBox.hwnd(), chatText(shownReport));
  EnableWindow(item(IDC_REPORT_SAVE), isGame(shownReport));
}

// Above: the map, the facts and the chat side by side; across the middle the
// players; below, the chart and the build orders; the buttons in the bottom
// right corner.
void ReportDialog::layOut() {
  RECT client;
  GetClientRect(hwnd(), &client);
  const SIZE button = windowSize(item(IDCANCEL));
  const int width = client.right - kMargin * 2;
  const int buttonTop = client.bottom - kMargin - button.cy;
  const int rows = buttonTop - kMargin * 4;
  const int upperHeight = rows * 9 / 25;
  const int playersHeight = rows * 6 / 25;
  const int playersTop = kMargin * 2 + upperHeight;
  const int lowerTop = playersTop + playersHeight + kMargin;
  const int lowerHeight = buttonTop - kMargin - lowerTop;
  // The diamond is twice as wide as tall and keeps two fifths at most.
  const int pictureWidth = std::min(upperHeight * 2, width * 2 / 5);
  pictureArea = {kMargin, kMargin, kMargin + pictureWidth, kMargin + pictureWidth / 2};
  place(statusText.hwnd(), kMargin, kMargin, pictureWidth, upperHeight);
  // The facts take what the chat leaves of the rest, at most 260 pixels.
  const int rest = width - pictureWidth - kMargin * 2;
  const int factsWidth = std::min(rest * 9 / 20, 260);
  const int factsLeft = kMargin * 2 + pictureWidth;
  place(factsList.hwnd(), factsLeft, kMargin, factsWidth, upperHeight);
  // The values take what the labels leave.
  const int labelWidth = ListView_GetColumnWidth(factsList.hwnd(), 0);
  ListView_SetColumnWidth(
      factsList.hwnd(), 1,
      std::max(factsWidth - labelWidth - GetSystemMetrics(SM_CXVSCROLL) - 4, 60));
  const int chatLeft = factsLeft + factsWidth + kMargin;
  place(chatBox.hwnd(), chatLeft, kMargin, client.right - kMargin - chatLeft, upperHeight);
  place(playersList.hwnd(), kMargin, playersTop, width, playersHeight);
  // The chart takes three fifths of the width below, the build orders the rest.
  const int chartWidth = (width - kMargin) * 3 / 5;
  chartArea = {kMargin, lowerTop, kMargin + chartWidth, lowerTop + lowerHeight};
  const int buildLeft = kMargin * 2 + chartWidth;
  place(buildList.hwnd(), buildLeft, lowerTop, client.right - kMargin - buildLeft, lowerHeight);
  if (!buildColumns.empty() && buildOrdersAcross() != buildAcross) fillBuildOrders();
  const int ids[] = {IDC_REPORT_SAVE, IDC_REPORT_SAVE_CHART, IDC_REPORT_COPY, IDCANCEL};
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
  if (isGame(shownReport) && size >= kMinimapMinSize) {
    picture = drawMinimap(shownEntry, size, shownPlay ? &*shownPlay : nullptr);
  } else {
    picture = Picture();
  }
  pictureBitmap.reset(bitmapOfPicture(picture, GetSysColor(COLOR_BTNFACE)));
  InvalidateRect(hwnd(), &pictureArea, TRUE);
}

// Only a report with its play has a chart; the area stays empty meanwhile.
void ReportDialog::drawChart() {
  const int32_t width = chartArea.right - chartArea.left;
  const int32_t height = chartArea.bottom - chartArea.top;
  if (isGame(shownReport) && shownReport.hasPlay && width >= kChartMinWidth &&
      height >= kChartMinHeight) {
    chart = drawActionsChart(chartDataOf(shownReport), width, height);
  } else {
    chart = Picture();
  }
  chartBitmap.reset(bitmapOfPicture(chart, GetSysColor(COLOR_BTNFACE)));
  EnableWindow(item(IDC_REPORT_SAVE_CHART), !chart.rgba.empty());
  InvalidateRect(hwnd(), &chartArea, TRUE);
}

bool ReportDialog::OnSize(WPARAM, LPARAM, INT_PTR&) {
  const RECT before = pictureArea;
  const RECT chartBefore = chartArea;
  layOut();
  if (before.right - before.left != pictureArea.right - pictureArea.left) {
    InvalidateRect(hwnd(), &before, TRUE);
    drawPicture();
  }
  if (!EqualRect(&chartBefore, &chartArea)) {
    InvalidateRect(hwnd(), &chartBefore, TRUE);
    drawChart();
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
  blit(dc, pictureArea, picture, pictureBitmap.get());
  blit(dc, chartArea, chart, chartBitmap.get());
  EndPaint(hwnd(), &paint);
  return true;
}

void ReportDialog::onPlayersCustomDraw(NMHDR* notification, LRESULT* result) {
  // The name in the player's colour, as the pane draws it.
  colourCells(notification, result, [&](std::size_t row, std::size_t column) {
    return column == 0 && row < shownReport.players.size()
               ? std::optional<COLORREF>(slotColour(shownReport.players[row].colourIndex))
               : std::nullopt;
  });
}

void ReportDialog::onBuildCustomDraw(NMHDR* notification, LRESULT* result) {
  // Each player's name and steps in the player's colour.
  colourCells(notification, result, [&](std::size_t row, std::size_t column) {
    return row < buildGrid.size() && column < buildGrid[row].size()
               ? std::optional<COLORREF>(slotColour(buildGrid[row][column].colourIndex))
               : std::nullopt;
  });
}

void ReportDialog::onSavePicture() { savePng(picture, ""); }

void ReportDialog::onSaveChart() { savePng(chart, loadResourceString(IDS_REPORT_CHART_SUFFIX)); }

void ReportDialog::savePng(const Picture& png, const std::string& suffix) {
  if (png.rgba.empty()) return;
  std::wstring file = pictureFileName(shownEntry.exactName, suffix);
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
  if (!savePictureAsPng(png, *chosen)) {
    MessageBeep(MB_ICONWARNING);
  }
}

std::string ReportDialog::reportText() const { return ui::reportText(shownReport); }

void ReportDialog::onCopy() { copyTextToClipboard(hwnd(), platform::wideFromExact(reportText())); }

}  // namespace morvane::ui
