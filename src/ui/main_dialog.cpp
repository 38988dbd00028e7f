// Construction, start-up and the window-level handlers of the main window.
#include "ui/main_dialog.h"

#include "platform/exact_path.h"
#include "platform/executable_folder.h"
#include "resource.h"
#include "ui/about_dialog.h"
#include "ui/message_map.h"
#include "ui/registry_value.h"
#include "ui/resource_text.h"

namespace morvane::ui {
namespace {

struct ColumnSetUp {
  UINT heading;
  int width;
};
constexpr ColumnSetUp kColumnSetUps[kColumns] = {{IDS_COLUMN_NAME, 175},
                                                 {IDS_COLUMN_POV, 95},
                                                 {IDS_COLUMN_MAP, 105},
                                                 {IDS_COLUMN_MODIFIED, 103}};

}  // namespace

MainDialog::MainDialog() : Dialog(IDD_MAIN), codePage(platform::makeSystemCodePage()) {
  appIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAINFRAME));
}

// The window goes first, while the handles its controls use are alive and
// its handlers are still this class's.
MainDialog::~MainDialog() {
  if (hwnd() != nullptr) DestroyWindow(hwnd());
}

bool MainDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  using Map = MessageMap<MainDialog>;
  static const Map::Entry table[] = {
      Map::message<&MainDialog::OnSysCommand>(WM_SYSCOMMAND),
      Map::message<&MainDialog::OnPaint>(WM_PAINT),
      Map::message<&MainDialog::OnQueryDragIcon>(WM_QUERYDRAGICON),
      Map::command<&MainDialog::onBrowse>(IDC_BROWSE),
      Map::notify<&MainDialog::onColumnClick>(IDC_GAME_LIST, LVN_COLUMNCLICK),
      Map::notify<&MainDialog::onListItemChanged>(IDC_GAME_LIST, LVN_ITEMCHANGED),
      Map::notify<&MainDialog::onListGetDisplayInfo>(IDC_GAME_LIST, LVN_GETDISPINFOA),
      Map::notify<&MainDialog::onListGetInfoTip>(IDC_GAME_LIST, LVN_GETINFOTIPA),
      Map::notify<&MainDialog::onListGetInfoTip>(IDC_GAME_LIST, LVN_GETINFOTIPW),
      Map::notify<&MainDialog::onListFindItem>(IDC_GAME_LIST, LVN_ODFINDITEMA),
      Map::notify<&MainDialog::onListFindItem>(IDC_GAME_LIST, LVN_ODFINDITEMW),
      Map::message<&MainDialog::onCtlColorMessage>(WM_CTLCOLORMSGBOX),
      Map::message<&MainDialog::onCtlColorMessage>(WM_CTLCOLOREDIT),
      Map::message<&MainDialog::onCtlColorMessage>(WM_CTLCOLORLISTBOX),
      Map::message<&MainDialog::onCtlColorMessage>(WM_CTLCOLORBTN),
      Map::message<&MainDialog::onCtlColorMessage>(WM_CTLCOLORDLG),
      Map::message<&MainDialog::onCtlColorMessage>(WM_CTLCOLORSCROLLBAR),
      Map::message<&MainDialog::onCtlColorMessage>(WM_CTLCOLORSTATIC),
      Map::command<&MainDialog::onFileExit>(IDM_FILE_EXIT),
      Map::command<&MainDialog::onFilter>(IDC_FILTER_BUTTON),
      Map::command<&MainDialog::onUp>(IDC_UP),
      Map::notify<&MainDialog::onListDoubleClick>(IDC_GAME_LIST, NM_DBLCLK),
      Map::message<&MainDialog::OnSize>(WM_SIZE),
      Map::message<&MainDialog::OnContextMenu>(WM_CONTEXTMENU),
      Map::message<&MainDialog::OnDestroy>(WM_DESTROY),
  };
  return Map::dispatch(table, *this, message, wParam, lParam, result);
}

void MainDialog::DoDataExchange(DataExchange& exchange) {
  for (int slot = 1; slot <= kSlots; ++slot) {
    const auto k = static_cast<std::size_t>(slot);
    exchange.control(kSlotControlIds[slot].name, nameEdits[k]);
    exchange.control(kSlotControlIds[slot].civ, civEdits[k]);
    exchange.control(kSlotControlIds[slot].team, teamEdits[k]);
  }
  exchange.control(IDC_CHAT, chatEdit);
  exchange.control(IDC_GAME_LIST, gameList);
  exchange.text(IDC_FOLDER_PATH, folderPath);
  exchange.text(IDC_FILTER, filterText);
}

BOOL MainDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  setUpSystemMenu();
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));
  loadNameTables();
  whiteBrush.reset(CreateSolidBrush(RGB(255, 255, 255)));
  setUpUpButton();
  setUpList();
  for (int slot = 1; slot <= kSlots; ++slot)
    slotColourIndices[static_cast<std::size_t>(slot)] = slot;
  report.build(hwnd());
  enterFolder(platform::exactFromAnsi(defaultFolder()));
  UpdateData(FALSE);
  return TRUE;
}

void MainDialog::setUpSystemMenu() {
  HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
  if (systemMenu == nullptr) return;
  const std::string about = loadResourceString(IDS_ABOUTBOX);
  if (about.empty()) return;
  AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
}

void MainDialog::loadNameTables() {
  const std::optional<std::string> folder = platform::executableFolder();
  if (!folder) return;
  loadNameTable(*folder + "map.txt", mapNameTable);
  loadNameTable(*folder + "player.txt", playerNameTable);
}

void MainDialog::setUpUpButton() {
  COLORMAP magentaToMenu = {RGB(255, 0, 255), GetSysColor(COLOR_MENU)};
  upBitmap.reset(CreateMappedBitmap(GetModuleHandleA(nullptr), IDB_UP, 0, &magentaToMenu, 1));
  SendMessageA(item(IDC_UP), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(upBitmap.get()));
}

void MainDialog::setUpList() {
  imageList.reset(ImageList_Create(16, 16, ILC_COLOR8, 1, 1));
  gameList.setImageList(imageList.get(), LVSIL_SMALL);
  ListView_SetExtendedListViewStyleEx(gameList.hwnd(), LVS_EX_INFOTIP, LVS_EX_INFOTIP);
  gameList.setRows(gameRows);
  for (int column = 0; column < kColumns; ++column)
    gameList.insertColumn(column, loadResourceString(kColumnSetUps[column].heading),
                          kColumnSetUps[column].width);
}

std::string MainDialog::defaultFolder() const {
  // The 32-bit game writes its value in the 32-bit view; a 64-bit build
  // would otherwise look in the other one.
  std::string folder =
      readRegistryString(HKEY_LOCAL_MACHINE, kGameKey, "EXE Path", KEY_WOW64_32KEY);
  if (!folder.empty()) folder += "\\SaveGame\\";
  return folder;
}

bool MainDialog::OnSysCommand(WPARAM id, LPARAM, INT_PTR&) {
  if ((id & 0xFFF0) != IDM_ABOUTBOX) return false;
  AboutDialog about;
  about.DoModal(hwnd());
  return true;
}

bool MainDialog::OnPaint(WPARAM, LPARAM, INT_PTR&) {
  if (!IsIconic(hwnd())) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  const int iconWidth = GetSystemMetrics(SM_CXICON);
  const int iconHeight = GetSystemMetrics(SM_CYICON);
  RECT client;
  GetClientRect(hwnd(), &client);
  const int x = (client.right - client.left - iconWidth + 1) / 2;
  const int y = (client.bottom - client.top - iconHeight + 1) / 2;
  DrawIcon(dc, x, y, appIcon);
  EndPaint(hwnd(), &paint);
  return true;
}

bool MainDialog::OnQueryDragIcon(WPARAM, LPARAM, INT_PTR& result) {
  result = reinterpret_cast<INT_PTR>(appIcon);
  return true;
}

// The window keeps its template layout; sizing is left to the system.
bool MainDialog::OnSize(WPARAM, LPARAM, INT_PTR&) { return false; }

// The list would destroy its image list with itself, but this dialog owns it.
// The dialog hears of its end before its controls do.
bool MainDialog::OnDestroy(WPARAM, LPARAM, INT_PTR&) {
  gameList.setImageList(nullptr, LVSIL_SMALL);
  return false;
}

}  // namespace morvane::ui
