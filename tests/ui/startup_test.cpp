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

TEST_F(StartUpTest, NameTablesComeFromBesideTheProgram) {
  writeBesideProgram("player.txt", "Alice\tThe Queen\r\nBob\tB\nBob\tRobert");
  writeBesideProgram("map.txt", "Arabia\tDesert\n");
  open();
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

// Closes the About box once it is up, noting its caption.
std::string aboutCaption;
void CALLBACK closeAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND about = GetActiveWindow();
  aboutCaption = windowText(about);
  PostMessageA(about, WM_COMMAND, IDOK, 0);
  KillTimer(nullptr, timer);
}

TEST_F(StartUpTest, AboutCommandRunsTheAboutBoxUntilOk) {
  open();
  aboutCaption.clear();
  SetTimer(nullptr, 0, 200, closeAbout);
  SendMessageA(dialog->hwnd(), WM_SYSCOMMAND, 16, 0);
  EXPECT_EQ(aboutCaption, ansiFromUtf8("Morvaneのﾊﾞｰｼﾞｮﾝ情報"));
  EXPECT_FALSE(dialog->ended());
  EXPECT_TRUE(IsWindowEnabled(dialog->hwnd()));
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
