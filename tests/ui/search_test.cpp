// The search window over the main window's folder tree: opened from the
// list's shortcut menu and Ctrl+F, it builds the tree's index in its worker
// while messages keep flowing, finds a player, and hands a game back as its
// report and as its row in the list.
#include <chrono>

#include "main_window_fixture.h"
#include "platform/exact_path.h"
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

  std::string searchItem;
};

TEST_F(SearchTest, BuildsTheTreesIndexFindsAPlayerAndOpensTheReport) {
  select(rowNamed("alice.mgx"));
  SendMessageA(dialog->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()), MAKELPARAM(-1, -1));
  EXPECT_EQ(searchItem, "\x98\x5E\x89\xE6\x82\xF0\x8C\x9F\x8D\xF5(&F)...");  // 録画を検索 in 932
  ASSERT_TRUE(search().isOpen());

  clickInSearch(IDC_SEARCH_UPDATE);
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
