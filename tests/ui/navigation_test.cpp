// Moving between folders: typed path, folder picker, Up, double-click and
// Enter on a folder row.
#include "main_window_fixture.h"
#include "resource.h"
#include "ui/resource_text.h"

namespace morvane::ui::testing {
namespace {

class NavigationTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    makeFolder("Old");
    writeGame("top.mgx", fixtures::twoPlayerGame());
    writeGame("Old\\inner.mgx", fixtures::twoPlayerGame());
    open();
  }
  std::string old() const { return inSaveGame("Old"); }
};

TEST_F(NavigationTest, EnterInThePathEditListsTheTypedFolderAgainEachTime) {
  type(IDC_FOLDER_PATH, old());
  pressEnterIn(IDC_FOLDER_PATH);
  EXPECT_EQ(column(0), std::vector<std::string>{"inner.mgx"});
  EXPECT_EQ(dialog->folder(), old());
  select(0);
  EXPECT_FALSE(cell(0, 2).empty());
  pressEnterIn(IDC_FOLDER_PATH);  // the same folder: parse results are gone
  EXPECT_EQ(cell(0, 2), "");
}

TEST_F(NavigationTest, DoubleClickEntersFolderRowsOnly) {
  doubleClick(rowNamed("top.mgx"));
  doubleClick(-1);
  EXPECT_EQ(dialog->folder(), saveGame() + "\\");
  doubleClick(rowNamed("Old"));
  EXPECT_EQ(dialog->folder(), saveGame() + "\\Old");
  EXPECT_EQ(text(IDC_FOLDER_PATH), saveGame() + "\\Old");
  EXPECT_EQ(column(0), std::vector<std::string>{"inner.mgx"});
}

TEST_F(NavigationTest, EnterOnTheListEntersExactlyOneSelectedFolder) {
  select(rowNamed("top.mgx"));
  pressEnterIn(IDC_GAME_LIST);
  EXPECT_EQ(rowCount(), 2);
  select(rowNamed("Old"));
  selectAlso(rowNamed("top.mgx"));
  pressEnterIn(IDC_GAME_LIST);
  EXPECT_EQ(rowCount(), 2);
  select(rowNamed("Old"));
  pressEnterIn(IDC_GAME_LIST);
  EXPECT_EQ(column(0), std::vector<std::string>{"inner.mgx"});
  EXPECT_EQ(text(IDC_FOLDER_PATH), saveGame() + "\\Old");
}

TEST_F(NavigationTest, UpWalksToTheDriveAndStopsThere) {
  type(IDC_FOLDER_PATH, old() + "\\");
  pressEnterIn(IDC_FOLDER_PATH);
  // Each step lists the folder that holds the one before, down to the drive.
  for (std::string path = old(); path.find('\\') != std::string::npos;) {
    const std::size_t separator = path.rfind('\\');
    const std::string name = path.substr(separator + 1);
    path.resize(separator);
    click(IDC_UP);
    EXPECT_EQ(text(IDC_FOLDER_PATH), path);
    EXPECT_NE(rowNamed(name), -1) << name << " in " << path;
  }
  const std::string drive = text(IDC_FOLDER_PATH);
  EXPECT_EQ(drive, old().substr(0, 2));
  const std::vector<std::string> root = column(0);
  click(IDC_UP);
  EXPECT_EQ(text(IDC_FOLDER_PATH), drive);
  EXPECT_EQ(column(0), root);
}

TEST_F(NavigationTest, UpIgnoresATrailByteThatLooksLikeASeparator) {
  // "ソ" is 0x83 0x5C in Shift_JIS: its trail byte is not a separator, and
  // here it is not the path's last byte either.
  const std::string folder = old() + "\\\x83\x5C" + 'x';
  type(IDC_FOLDER_PATH, folder);
  pressEnterIn(IDC_FOLDER_PATH);
  click(IDC_UP);
  EXPECT_EQ(dialog->folder(), old());
  EXPECT_EQ(column(0), std::vector<std::string>{"inner.mgx"});
}

TEST_F(NavigationTest, PickerStartsAtTheTypedPathAndListsTheChosenFolder) {
  BROWSEINFOA seen = {};
  std::string startPath;
  std::string title;
  std::optional<std::string> answer;
  dialog->setFolderPicker([&](BROWSEINFOA& info) {
    seen = info;
    title = info.lpszTitle;
    startPath = reinterpret_cast<const char*>(info.lParam);
    return answer;
  });
  type(IDC_FOLDER_PATH, old());  // typed, not confirmed
  click(IDC_BROWSE);
  EXPECT_EQ(startPath, old());
  EXPECT_EQ(title, ansiFromUtf8("リプレイフォルダを選択してください"));
  EXPECT_EQ(seen.ulFlags, static_cast<UINT>(BIF_RETURNONLYFSDIRS));
  EXPECT_EQ(seen.hwndOwner, dialog->hwnd());
  EXPECT_EQ(seen.pidlRoot, nullptr);
  EXPECT_EQ(rowCount(), 2);  // cancelled: nothing listed again

  answer = old();
  click(IDC_BROWSE);
  EXPECT_EQ(column(0), std::vector<std::string>{"inner.mgx"});
  EXPECT_EQ(text(IDC_FOLDER_PATH), old());
}

// Stands in for the picker's window: records the selection request.
LPARAM selectedPath = 0;
LRESULT CALLBACK pickerStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == BFFM_SETSELECTIONA && wParam == TRUE) selectedPath = lParam;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(BrowseCallbackTest, SelectsTheStartFolderWhenThePickerIsReady) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = pickerStandIn;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "MorvanePickerStandIn";
  RegisterClassA(&windowClass);
  HWND picker = CreateWindowA("MorvanePickerStandIn", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(picker, nullptr);
  const char* path = "C:\\Games";
  selectedPath = 0;
  EXPECT_EQ(MainDialog::browseCallback(picker, BFFM_SELCHANGED, 0, reinterpret_cast<LPARAM>(path)),
            0);
  EXPECT_EQ(selectedPath, 0);
  EXPECT_EQ(MainDialog::browseCallback(picker, BFFM_INITIALIZED, 0, reinterpret_cast<LPARAM>(path)),
            0);
  EXPECT_EQ(selectedPath, reinterpret_cast<LPARAM>(path));
  DestroyWindow(picker);
}

}  // namespace
}  // namespace morvane::ui::testing
