// Moving between folders: typed path, folder picker, Up, double-click and
// Enter on a folder row.
#include "main_window_fixture.h"
#include "platform/exact_path_win32.h"
#include "resource.h"
#include "ui/folder_picker.h"
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

// After scrolling to the end of a long folder, the next one showed rows near
// its end: the row count was set without scrolling.
TEST_F(NavigationTest, ANewListingOpensAtItsFirstRowWhateverWasScrolledBefore) {
  for (int i = 0; i < 150; ++i) {
    writeJunk("long" + std::to_string(1000 + i) + ".mgx");
    writeJunk("Old\\deep" + std::to_string(1000 + i) + ".mgx");
  }
  pressEnterIn(IDC_FOLDER_PATH);
  ASSERT_GT(rowCount(), 100);
  SendMessageA(list(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(rowCount() - 1), FALSE);
  ASSERT_GT(SendMessageA(list(), LVM_GETTOPINDEX, 0, 0), 0);
  doubleClick(rowNamed("Old"));
  ASSERT_GT(rowCount(), 100);
  EXPECT_EQ(SendMessageA(list(), LVM_GETTOPINDEX, 0, 0), 0);
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

TEST_F(NavigationTest, FoldersNamedOutsideTheCodePageAreEnteredAndLeftByTheirExactNames) {
  for (const ForeignName& name : kForeignNames) {
    makeFolder(name.exact);
    writeGame(std::string(name.exact) + "\\inner.mgx", fixtures::twoPlayerGame());
    makeFolder(std::string(name.exact) + "\\deeper");
  }
  pressEnterIn(IDC_FOLDER_PATH);
  const std::vector<std::string> top = column(0);
  const std::vector<std::string> inside = {"deeper", "inner.mgx"};
  for (const ForeignName& name : kForeignNames) {
    SCOPED_TRACE(name.shown);
    doubleClick(rowNamed(name.shown));
    EXPECT_EQ(column(0), inside);
    EXPECT_EQ(text(IDC_FOLDER_PATH), inSaveGame(name.shown));
    select(rowNamed("inner.mgx"));
    EXPECT_EQ(cell(rowNamed("inner.mgx"), 2), "Arabia");
    // The box still shows the folder as listed: Enter lists it again.
    pressEnterIn(IDC_FOLDER_PATH);
    EXPECT_EQ(column(0), inside);
    select(rowNamed("deeper"));
    pressEnterIn(IDC_GAME_LIST);
    EXPECT_EQ(text(IDC_FOLDER_PATH), inSaveGame(name.shown) + "\\deeper");
    EXPECT_TRUE(column(0).empty());
    click(IDC_UP);
    EXPECT_EQ(column(0), inside);
    click(IDC_UP);
    EXPECT_EQ(column(0), top);
    EXPECT_EQ(text(IDC_FOLDER_PATH), saveGame());
  }
}

TEST_F(NavigationTest, PickerStartsAtTheTypedPathAndListsTheChosenFolder) {
  BROWSEINFOA seen = {};
  std::string startPath;
  std::string title;
  std::optional<std::string> answer;
  dialog->setFolderPicker([&](BROWSEINFOA& info) {
    seen = info;
    title = info.lpszTitle;
    startPath = platform::exactFromWide(reinterpret_cast<const wchar_t*>(info.lParam));
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

TEST_F(NavigationTest, PickerListsAndStartsAtAFolderNamedOutsideTheCodePage) {
  const ForeignName& name = kForeignNames[1];
  makeFolder(name.exact);
  writeGame(std::string(name.exact) + "\\inner.mgx", fixtures::twoPlayerGame());
  std::string startPath;
  std::optional<std::string> answer = inSaveGame(name.exact);
  dialog->setFolderPicker([&](BROWSEINFOA& info) {
    startPath = platform::exactFromWide(reinterpret_cast<const wchar_t*>(info.lParam));
    return answer;
  });
  click(IDC_BROWSE);
  EXPECT_EQ(column(0), std::vector<std::string>{"inner.mgx"});
  EXPECT_EQ(text(IDC_FOLDER_PATH), inSaveGame(name.shown));
  answer.reset();
  click(IDC_BROWSE);
  EXPECT_EQ(startPath, inSaveGame(name.exact));
}

TEST_F(NavigationTest, PickedItemGivesTheExactPathOfAFolderOutsideTheCodePage) {
  for (const ForeignName& name : kForeignNames) {
    SCOPED_TRACE(name.shown);
    makeFolder(name.exact);
    PIDLIST_ABSOLUTE item =
        ILCreateFromPathW(platform::wideFromExact(inSaveGame(name.exact)).c_str());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(exactPathOfItem(item), inSaveGame(name.exact));
    ILFree(item);
  }
}

// Stands in for the picker's window: records the selection request.
LPARAM selectedPath = 0;
LRESULT CALLBACK pickerStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == BFFM_SETSELECTIONW && wParam == TRUE) selectedPath = lParam;
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
  const wchar_t* path = L"C:\\Games";
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
