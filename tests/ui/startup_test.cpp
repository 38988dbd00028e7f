// Start-up: the default folder from the registry, the name tables beside the
// program, the system menu, the columns, the icons and the About box.
#include "main_window_fixture.h"
#include "resource.h"
#include "ui/resource_text.h"

namespace morvane::ui::testing {
namespace {

using StartUpTest = MainWindowTest;

TEST_F(StartUpTest, ListsTheSaveGameFolderNamedByTheRegistry) {
  writeGame("one.mgx", fixtures::twoPlayerGame());
  makeFolder("Old");
  open();
  EXPECT_EQ(text(IDC_FOLDER_PATH), temp.path() + "\\SaveGame\\");
  EXPECT_EQ(column(0), (std::vector<std::string>{"Old", "one.mgx"}));
  EXPECT_EQ(dialog->defaultFolder(), temp.path() + "\\SaveGame\\");
}

TEST_F(StartUpTest, ValueEndingInSeparatorGetsADoubledOne) {
  setExePath("C:\\Games\\Conquerors\\");
  MainDialog probe;
  EXPECT_EQ(probe.defaultFolder(), "C:\\Games\\Conquerors\\\\SaveGame\\");
  setExePath("C:\\Games\\Conquerors");
  EXPECT_EQ(probe.defaultFolder(), "C:\\Games\\Conquerors\\SaveGame\\");
}

// A 64-bit program sees another key unless it asks for the 32-bit view, where
// the game writes; on a 32-bit system both views are one key.
TEST_F(StartUpTest, ValueIsReadFromTheGamesOwn32BitView) {
  SavedExePath view64(KEY_WOW64_64KEY);
  view64.set("C:\\Elsewhere");
  setExePath("C:\\Games\\Conquerors");
  MainDialog probe;
  EXPECT_EQ(probe.defaultFolder(), "C:\\Games\\Conquerors\\SaveGame\\");
}

TEST_F(StartUpTest, WithoutTheValueListsTheRootOfTheCurrentDrive) {
  open(false);
  EXPECT_EQ(text(IDC_FOLDER_PATH), "");
  EXPECT_EQ(dialog->folder(), "");
  const std::vector<std::string> rootRows = column(0);
  EXPECT_FALSE(rootRows.empty());
  type(IDC_FOLDER_PATH, "\\");
  pressEnterIn(IDC_FOLDER_PATH);
  EXPECT_EQ(column(0), rootRows);

  setExePath("");
  MainDialog probe;
  EXPECT_EQ(probe.defaultFolder(), "");
}

TEST_F(StartUpTest, NameTablesComeFromBesideTheProgramWhateverTheCurrentFolder) {
  writeBesideProgram("player.txt", "Alice\tThe Queen\r\nBob\tB\nBob\tRobert");
  writeBesideProgram("map.txt", "Arabia\tDesert\n");
  std::wstring previous(MAX_PATH, L'\0');
  previous.resize(GetCurrentDirectoryW(MAX_PATH, previous.data()));
  ASSERT_TRUE(SetCurrentDirectoryA(temp.path().c_str()));
  open();
  SetCurrentDirectoryW(previous.c_str());
  EXPECT_EQ(dialog->playerNames().at("Alice"), "The Queen");
  EXPECT_EQ(dialog->playerNames().at("Bob"), "Robert");
  EXPECT_EQ(dialog->mapNames().at("Arabia"), "Desert");
}

TEST_F(StartUpTest, ColumnsHaveTheirHeadingsAndWidths) {
  open();
  const int widths[] = {175, 95, 105, 103};
  const char* const headings[] = {"名前", "視点", "マップ", "更新日時"};
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(SendMessageA(list(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c), 0), widths[c]);
    char heading[64] = {};
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT | LVCF_FMT;
    info.pszText = heading;
    info.cchTextMax = sizeof heading;
    ASSERT_TRUE(SendMessageA(list(), LVM_GETCOLUMNA, static_cast<WPARAM>(c),
                             reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(std::string(heading), ansiFromUtf8(headings[c]));
    EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
  }
}

TEST_F(StartUpTest, ImageListHoldsOneIconPerKindListed) {
  open();
  HIMAGELIST images =
      reinterpret_cast<HIMAGELIST>(SendMessageA(list(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_EQ(images, dialog->images());
  EXPECT_EQ(ImageList_GetImageCount(images), 0);  // an empty folder

  makeFolder("A");
  makeFolder("B");
  type(IDC_FOLDER_PATH, saveGame());
  pressEnterIn(IDC_FOLDER_PATH);
  EXPECT_EQ(ImageList_GetImageCount(images), 1);

  writeGame("g.mgx", fixtures::twoPlayerGame());
  writeGame("h.mgx", fixtures::twoPlayerGame());
  pressEnterIn(IDC_FOLDER_PATH);
  EXPECT_EQ(ImageList_GetImageCount(images), 2);
  for (int row = 0; row < rowCount(); ++row) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(list(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_GE(item.iImage, 0);
    EXPECT_LE(item.iImage, 1);
  }
  // The dialog frees the image list, once: the list's window leaves it be.
  DestroyWindow(dialog->hwnd());
  EXPECT_EQ(ImageList_GetImageCount(images), 2);
}

TEST_F(StartUpTest, SlotColoursStartAtTheirSlotNumbers) {
  open();
  for (int slot = 1; slot <= 8; ++slot) EXPECT_EQ(dialog->slotColourIndex(slot), slot);
  EXPECT_EQ(nameColour(1), RGB(0, 0, 192));
  EXPECT_EQ(nameColour(8), RGB(255, 128, 0));
}

TEST_F(StartUpTest, SystemMenuEndsWithTheAboutItem) {
  open();
  HMENU system = GetSystemMenu(dialog->hwnd(), FALSE);
  ASSERT_NE(system, nullptr);
  const int count = GetMenuItemCount(system);
  ASSERT_GE(count, 2);
  EXPECT_EQ(GetMenuState(system, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR,
            static_cast<UINT>(MF_SEPARATOR));
  char label[128] = {};
  GetMenuStringA(system, static_cast<UINT>(count - 1), label, sizeof label, MF_BYPOSITION);
  EXPECT_EQ(std::string(label), ansiFromUtf8("Morvane のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
  EXPECT_EQ(GetMenuItemID(system, count - 1), 16u);
}

// What the About box was like while its modal loop ran.
struct AboutSeen {
  HWND owner = nullptr;
  bool endWithEsc = false;
  std::string caption;
  bool visible = false;
  bool active = false;
  bool ownerEnabled = true;
  bool forced = false;  // the box ignored the user and had to be closed
  HWND report = nullptr;  // the main window's other owned window, kept hidden
};
AboutSeen aboutSeen;

BOOL CALLBACK findOwned(HWND window, LPARAM found) {
  if (GetWindow(window, GW_OWNER) != aboutSeen.owner || window == aboutSeen.report) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND aboutBox() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), findOwned, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Looks at the box from inside its loop, then presses OK or Esc.
void CALLBACK endAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  HWND about = aboutBox();
  aboutSeen.caption = windowText(about);
  aboutSeen.visible = IsWindowVisible(about) != FALSE;
  aboutSeen.active = about != nullptr && GetActiveWindow() == about;
  aboutSeen.ownerEnabled = IsWindowEnabled(aboutSeen.owner) != FALSE;
  HWND ok = GetDlgItem(about, IDOK);
  if (aboutSeen.endWithEsc)
    PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 1);
  else
    PostMessageA(ok, BM_CLICK, 0, 0);
}

// Ends a loop that did not listen, so that the test fails instead of hanging.
void CALLBACK forceEndAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  aboutSeen.forced = true;
  PostMessageA(aboutBox(), WM_CLOSE, 0, 0);
}

TEST_F(StartUpTest, AboutBoxShowsOverTheDisabledWindowUntilOkOrEsc) {
  open();
  for (const bool esc : {false, true}) {
    SCOPED_TRACE(esc ? "Esc" : "OK");
    aboutSeen = AboutSeen();
    aboutSeen.owner = dialog->hwnd();
    aboutSeen.report = dialog->reportWindow().hwnd();
    aboutSeen.endWithEsc = esc;
    SetTimer(nullptr, 0, 200, endAbout);
    const UINT_PTR safety = SetTimer(nullptr, 0, 5000, forceEndAbout);
    SendMessageA(dialog->hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    KillTimer(nullptr, safety);
    EXPECT_EQ(aboutSeen.caption, ansiFromUtf8("Morvaneのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_TRUE(aboutSeen.visible);
    EXPECT_TRUE(aboutSeen.active);
    EXPECT_FALSE(aboutSeen.ownerEnabled);
    EXPECT_FALSE(aboutSeen.forced);
    EXPECT_EQ(aboutBox(), nullptr);
    EXPECT_FALSE(dialog->ended());
    EXPECT_TRUE(IsWindowEnabled(dialog->hwnd()));
    EXPECT_EQ(GetActiveWindow(), dialog->hwnd());
  }
}

TEST_F(StartUpTest, ExitCommandAndCloseEndTheWindowButEnterAndEscDoNot) {
  open();
  press(control(IDC_FOLDER_PATH), VK_ESCAPE);
  EXPECT_TRUE(press(list(), VK_ESCAPE));
  pressEnterIn(IDC_FOLDER_PATH);
  pressEnterIn(IDC_NAME1);
  EXPECT_FALSE(dialog->ended());

  menu(IDM_FILE_EXIT);
  EXPECT_TRUE(dialog->ended());
  EXPECT_EQ(dialog->endResult(), IDCANCEL);

  MainDialog other;
  ASSERT_NE(other.create(nullptr), nullptr);
  SendMessageA(other.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_TRUE(other.ended());
}

}  // namespace
}  // namespace morvane::ui::testing
