#include "main_window_fixture.h"

#include "library/sort_toggle.h"

namespace morvane::ui::testing {

SavedExePath::SavedExePath(REGSAM view) : view_(view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_QUERY_VALUE | view_, &key) !=
      ERROR_SUCCESS)
    return;
  DWORD size = 0;
  if (RegQueryValueExA(key, "EXE Path", nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
    data_.resize(size);
    existed_ =
        RegQueryValueExA(key, "EXE Path", nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
    data_.resize(size);
  }
  RegCloseKey(key);
}

SavedExePath::~SavedExePath() {
  if (existed_) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_SET_VALUE | view_, &key) ==
        ERROR_SUCCESS) {
      RegSetValueExA(key, "EXE Path", 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
      RegCloseKey(key);
    }
  } else {
    remove();
  }
  for (auto key = createdKeys_.rbegin(); key != createdKeys_.rend(); ++key)
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key->c_str(), view_, 0);
}

void SavedExePath::set(const std::string& value) {
  // One level at a time, to know which keys did not exist before.
  const std::string path = kGameKey;
  HKEY key = nullptr;
  for (std::size_t end = 0; end != std::string::npos;) {
    end = path.find('\\', end + 1);
    const std::string level = path.substr(0, end);
    DWORD disposition = 0;
    if (key != nullptr) RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, level.c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE | view_, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    if (disposition == REG_CREATED_NEW_KEY) createdKeys_.push_back(level);
  }
  EXPECT_EQ(RegSetValueExA(key, "EXE Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

void SavedExePath::remove() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_SET_VALUE | view_, &key) != ERROR_SUCCESS)
    return;
  RegDeleteValueA(key, "EXE Path");
  RegCloseKey(key);
}

void MainWindowTest::SetUp() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&controls));
  // The header toggle lives as long as the process; each test starts fresh.
  resetSortToggle();
  ASSERT_TRUE(temp.ok());
  saveGame_ = temp.path() + "\\SaveGame";
  ASSERT_TRUE(CreateDirectoryA(saveGame_.c_str(), nullptr));
}

void MainWindowTest::TearDown() {
  dialog.reset();
  for (const std::wstring& path : besideProgram_) DeleteFileW(path.c_str());
}

void MainWindowTest::writeGame(const std::string& name, const fixtures::SampleGame& game) {
  ASSERT_TRUE(fixtures::writeSampleGame(inSaveGame(name), game));
}

void MainWindowTest::writeJunk(const std::string& name) {
  ASSERT_TRUE(fixtures::writeFile(inSaveGame(name), {1, 2, 3, 4, 5, 6, 7}));
}

void MainWindowTest::makeFolder(const std::string& name) {
  ASSERT_TRUE(CreateDirectoryA(inSaveGame(name).c_str(), nullptr));
}

void MainWindowTest::setModified(const std::string& name, const platform::EntryTime& utc) {
  const SYSTEMTIME time = {utc.year, utc.month,  utc.dayOfWeek, utc.day,
                           utc.hour, utc.minute, utc.second,    utc.milliseconds};
  FILETIME stamp;
  ASSERT_TRUE(SystemTimeToFileTime(&time, &stamp));
  HANDLE file = CreateFileA(inSaveGame(name).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &stamp));
  CloseHandle(file);
}

// Found without the code under test: the wide module path up to its last
// separator, whatever its length or code page.
void MainWindowTest::writeBesideProgram(const std::string& name, const std::string& text) {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  const std::size_t separator = path.rfind(L'\\');
  ASSERT_NE(separator, std::wstring::npos);
  path.resize(separator + 1);
  path.append(name.begin(), name.end());  // an ASCII name
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  besideProgram_.push_back(path);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, text.size());
}

void MainWindowTest::open(bool withRegistry) {
  if (withRegistry)
    exePath.set(temp.path());
  else
    exePath.remove();
  dialog = std::make_unique<MainDialog>();
  ASSERT_NE(dialog->create(nullptr), nullptr);
}

std::string MainWindowTest::text(int id) const { return windowText(control(id)); }

void MainWindowTest::type(int id, const std::string& value) const {
  SetWindowTextA(control(id), value.c_str());
}

int MainWindowTest::rowCount() const {
  return static_cast<int>(SendMessageA(list(), LVM_GETITEMCOUNT, 0, 0));
}

std::string MainWindowTest::cell(int row, int columnIndex) const {
  char buffer[1024] = {};
  LVITEMA item = {};
  item.iSubItem = columnIndex;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(list(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

std::vector<std::string> MainWindowTest::column(int columnIndex) const {
  std::vector<std::string> cells;
  for (int row = 0; row < rowCount(); ++row) cells.push_back(cell(row, columnIndex));
  return cells;
}

int MainWindowTest::rowNamed(const std::string& name) const {
  for (int row = 0; row < rowCount(); ++row)
    if (cell(row, 0) == name) return row;
  return -1;
}

void MainWindowTest::click(int id) const {
  SendMessageA(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(control(id)));
}

void MainWindowTest::menu(int id) const {
  SendMessageA(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void MainWindowTest::clickHeader(int columnIndex) const {
  NMLISTVIEW click = {};
  click.hdr.hwndFrom = list();
  click.hdr.idFrom = IDC_GAME_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = columnIndex;
  SendMessageA(dialog->hwnd(), WM_NOTIFY, IDC_GAME_LIST, reinterpret_cast<LPARAM>(&click));
}

// The list itself notifies the window of the state change, as on a click.
void MainWindowTest::select(int row) const {
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  SendMessageA(list(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  selectAlso(row);
}

void MainWindowTest::selectAlso(int row) const {
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&state));
  SendMessageA(list(), LVM_SETSELECTIONMARK, 0, row);
}

void MainWindowTest::doubleClick(int row) const {
  NMITEMACTIVATE activation = {};
  activation.hdr.hwndFrom = list();
  activation.hdr.idFrom = IDC_GAME_LIST;
  activation.hdr.code = NM_DBLCLK;
  activation.iItem = row;
  SendMessageA(dialog->hwnd(), WM_NOTIFY, IDC_GAME_LIST, reinterpret_cast<LPARAM>(&activation));
}

bool MainWindowTest::press(HWND target, WPARAM key) const {
  MSG message = {};
  message.hwnd = target;
  message.message = WM_KEYDOWN;
  message.wParam = key;
  message.lParam = 1;
  const bool consumed = dialog->PreTranslateMessage(&message) != FALSE;
  if (!consumed) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return consumed;
}

void MainWindowTest::pressEnterIn(int id) const {
  SetFocus(control(id));
  press(control(id), VK_RETURN);
}

void MainWindowTest::selectEveryRow() const {
  for (int row = 0; row < rowCount(); ++row) select(row);
}

COLORREF brushColour(HBRUSH brush) {
  LOGBRUSH solid = {};
  if (brush == nullptr || GetObjectA(brush, sizeof solid, &solid) != sizeof solid)
    return CLR_INVALID;
  return solid.lbColor;
}

MainWindowTest::ControlPaint MainWindowTest::paintOf(int id) const {
  HWND edit = control(id);
  const bool readOnly = (GetWindowLongPtrA(edit, GWL_STYLE) & ES_READONLY) != 0;
  const UINT message = readOnly || !IsWindowEnabled(edit) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, OPAQUE);
  ControlPaint paint;
  paint.brush = reinterpret_cast<HBRUSH>(SendMessageA(
      dialog->hwnd(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)));
  paint.text = GetTextColor(dc);
  paint.backgroundMode = GetBkMode(dc);
  DeleteDC(dc);
  return paint;
}

COLORREF MainWindowTest::nameColour(int slot) const {
  const ControlPaint paint = paintOf(1004 + slot);
  EXPECT_EQ(brushColour(paint.brush), RGB(255, 255, 255)) << "slot " << slot;
  EXPECT_EQ(paint.backgroundMode, TRANSPARENT) << "slot " << slot;
  return paint.text;
}

}  // namespace morvane::ui::testing
