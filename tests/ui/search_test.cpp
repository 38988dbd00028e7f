// The search window over the main window's folder tree: opened from the
// list's shortcut menu and Ctrl+F, it builds the tree's index in its worker
// while messages keep flowing, finds a player, and hands a game back as its
// report and as its row in the list.
#include <chrono>

#include "main_window_fixture.h"
#include "platform/exact_path.h"
#include "platform/exact_path_win32.h"
#include "resource.h"

namespace morvane::ui::testing {
namespace {

fixtures::SampleGame gameOf(const std::string& first, const std::string& second, uint8_t pov) {
  fixtures::SampleGame game = fixtures::twoPlayerGame();
  game.layout = fixtures::conquerorsLayout();
  game.players[0].name = first;
  game.players[1].name = second;
  game.pov = pov;
  return game;
}

class SearchTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    writeGame("alice.mgx", gameOf("Alice", "Bob", 1));
    writeGame("bob.mgx", gameOf("Alice", "Bob", 2));
    makeFolder("Old");
    // The Japanese game's label tells the reader its names are in code page 932.
    fixtures::SampleGame japanese = gameOf("Carol", kJapaneseName, 1);
    japanese.mapLabel = std::string(fixtures::kLabelJapanese);
    writeGame("Old\\carol.mgx", japanese);
    open();
    search().setIndexPath(temp.file("archive.sqlite"));
    dialog->setMenuPicker([this](HMENU menu, HWND, POINT) {
      char text[256] = {};
      GetMenuStringA(menu, IDM_LIST_SEARCH, text, sizeof text, MF_BYCOMMAND);
      searchItem = text;
      return static_cast<UINT>(IDM_LIST_SEARCH);
    });
  }

  SearchDialog& search() { return dialog->searchWindow(); }
  HWND searchControl(int id) { return GetDlgItem(search().hwnd(), id); }
  void clickInSearch(int id) {
    SendMessageA(search().hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(searchControl(id)));
  }
  // The window's own loop, until the worker has ended and been heard.
  bool waitForUpdate() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (search().updating() && std::chrono::steady_clock::now() < deadline) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      Sleep(5);
    }
    return !search().updating();
  }
  void chooseLine(int row) {
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(searchControl(IDC_SEARCH_RESULTS), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&state));
  }

  void clickColumn(int column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = searchControl(IDC_SEARCH_RESULTS);
    click.hdr.idFrom = IDC_SEARCH_RESULTS;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(search().hwnd(), WM_NOTIFY, IDC_SEARCH_RESULTS, reinterpret_cast<LPARAM>(&click));
  }
  // A row's cell as the list holds it, in UTF-8.
  std::string resultCell(int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(searchControl(IDC_SEARCH_RESULTS), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return platform::exactFromWide(text);
  }

  std::string searchItem;
};

TEST_F(SearchTest, OpensReadySortsByEachColumnAndTipsALineWhole) {
  select(rowNamed("alice.mgx"));
  SendMessageA(dialog->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()), MAKELPARAM(-1, -1));
  ASSERT_TRUE(search().isOpen());
  // The opening started the update of the tree: no button is pressed.
  ASSERT_TRUE(waitForUpdate());
  ASSERT_EQ(search().lines().size(), 2u);

  for (int column = 0; column < archive::kResultColumns; ++column) {
    SCOPED_TRACE(column);
    clickColumn(column);
    ASSERT_EQ(static_cast<int>(search().order().column), column);
    const bool firstWay = search().order().descending;
    const std::string first = search().lines()[0].recordings;
    EXPECT_EQ(resultCell(0, 4), first);
    clickColumn(column);
    EXPECT_NE(search().order().descending, firstWay);
    EXPECT_EQ(resultCell(0, 4), search().lines()[0].recordings);
    // Alice's game and Carol's differ in their players and their files.
    if (column == 1 || column == 4) {
      EXPECT_NE(search().lines()[0].recordings, first);
    }
  }
  clickColumn(1);  // players from A: Alice's game first
  ASSERT_NE(search().lines()[0].players.find("Alice"), std::string::npos);

  // The pointer resting on the second line shows its tip.
  const HWND results = searchControl(IDC_SEARCH_RESULTS);
  RECT row = {};
  ListView_GetItemRect(results, 1, &row, LVIR_BOUNDS);
  SendMessageW(results, WM_MOUSEHOVER, 0, MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2));
  wchar_t text[1024] = {};
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = search().hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(results);
  tool.lpszText = text;
  SendMessageW(search().tipWindow(), TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
  EXPECT_TRUE(IsWindowVisible(search().tipWindow()));
  const std::string shown = platform::exactFromWide(text);
  EXPECT_EQ(shown.rfind("Carol (", 0), 0u) << platform::ansiFromExact(shown);
  EXPECT_NE(shown.find(u8") ゴート: "), std::string::npos) << platform::ansiFromExact(shown);
  EXPECT_NE(shown.find(platform::exactFromAnsi(inSaveGame("Old\\carol.mgx"))), std::string::npos)
      << platform::ansiFromExact(shown);
}

TEST_F(SearchTest, BuildsTheTreesIndexFindsAPlayerAndOpensTheReport) {
  select(rowNamed("alice.mgx"));
  SendMessageA(dialog->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()), MAKELPARAM(-1, -1));
  EXPECT_EQ(searchItem, "\x98\x5E\x89\xE6\x82\xF0\x8C\x9F\x8D\xF5(&F)...");  // 録画を検索 in 932
  ASSERT_TRUE(search().isOpen());

  ASSERT_TRUE(waitForUpdate());
  // Two games: the two points of view of one, and Carol's in the sub-folder.
  ASSERT_EQ(search().lines().size(), 2u);
  std::size_t recordings = 0;
  for (const auto& line : search().lines()) recordings += line.paths.size();
  EXPECT_EQ(recordings, 3u);

  // A part of a name in another case finds its game.
  SetWindowTextW(searchControl(IDC_SEARCH_PLAYER), L"CAR");
  clickInSearch(IDC_SEARCH_FIND);
  ASSERT_EQ(search().lines().size(), 1u);
  EXPECT_NE(search().lines()[0].players.find(u8"Carol (ゴート)"), std::string::npos)
      << search().lines()[0].players;
  // The other player's name, decoded from code page 932 to Unicode.
  EXPECT_NE(search().lines()[0].players.find(u8"プレイヤー"), std::string::npos)
      << platform::ansiFromExact(search().lines()[0].players);

  chooseLine(0);
  clickInSearch(IDC_SEARCH_REPORT);
  ASSERT_TRUE(dialog->reportWindow().isOpen());
  const GameReport& shown = dialog->reportWindow().report();
  ASSERT_EQ(shown.state, ReportState::kGame);
  ASSERT_EQ(shown.players.size(), 2u);
  EXPECT_EQ(shown.players[0].name, "Carol");

  clickInSearch(IDC_SEARCH_SELECT);
  EXPECT_EQ(dialog->folder(), platform::ansiFromExact(inSaveGame("Old")));
  const int selected = ListView_GetNextItem(list(), -1, LVNI_SELECTED);
  ASSERT_GE(selected, 0);
  EXPECT_EQ(cell(selected, 0), "carol.mgx");
}

TEST_F(SearchTest, CtrlFOpensItAndASecondUpdateReadsNothingNew) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  const bool consumed = press(list(), 'F');
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  ASSERT_TRUE(consumed);
  ASSERT_TRUE(search().isOpen());
  clickInSearch(IDC_SEARCH_UPDATE);
  ASSERT_TRUE(waitForUpdate());
  clickInSearch(IDC_SEARCH_UPDATE);
  ASSERT_TRUE(waitForUpdate());
  const std::string status = windowText(searchControl(IDC_SEARCH_STATUS));
  // "読込 0, 変更なし 3" in code page 932.
  EXPECT_NE(status.find("\x93\xC7\x8D\x9E 0, \x95\xCF\x8D\x58\x82\xC8\x82\xB5 3"), std::string::npos)
      << status;
}

}  // namespace
}  // namespace morvane::ui::testing
