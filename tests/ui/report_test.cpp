// The game report window: opened by Alt+Enter and the list's shortcut menu,
// following the selection, what it says of folders and of files it cannot
// show, Esc, the picture saved as PNG and the report copied as text.
#include <stb_image.h>

#include <fstream>
#include <iterator>

#include "library/game_report.h"
#include "library/player_colours.h"
#include "main_window_fixture.h"
#include "platform/exact_path_win32.h"
#include "recording_writer/definitive_game.h"
#include "resource.h"
#include "ui/resource_text.h"

namespace morvane::ui::testing {
namespace {

class ReportTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // Games a known version wrote; the writer's own default names none.
    fixtures::SampleGame first = fixtures::twoPlayerGame();
    first.layout = fixtures::conquerorsLayout();
    first.width = 40;
    first.height = 40;
    writeGame("first.mgx", first);
    fixtures::SampleGame second = fixtures::eightPlayerGame();
    second.layout = fixtures::conquerorsLayout();
    writeGame("second.mgx", second);
    // A save version between the later edition's newest and the next edition's.
    fixtures::SampleGame unknown = fixtures::twoPlayerGame();
    unknown.layout = fixtures::conquerorsLayout();
    unknown.layout.saveVersion = 12.8f;
    writeGame("unknown.mgx", unknown);
    writeJunk("broken.mgx");
    makeFolder("Old");
    open();
    dialog->setMenuPicker([this](HMENU menu, HWND, POINT) {
      char text[256] = {};
      GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
      menuTexts.push_back(text);
      return chosenCommand;
    });
  }

  ReportDialog& report() { return dialog->reportWindow(); }
  HWND reportControl(int id) { return GetDlgItem(report().hwnd(), id); }

  // Alt+Enter as the message loop hands it over.
  void pressAltEnter() {
    MSG message = {};
    message.hwnd = list();
    message.message = WM_SYSKEYDOWN;
    message.wParam = VK_RETURN;
    message.lParam = 1 | (1 << 29);  // the Alt key is down
    if (!dialog->PreTranslateMessage(&message)) DispatchMessageA(&message);
  }
  // Only the keyboard focus moves: the row is neither selected nor parsed.
  void focusOnly(int row) {
    LVITEMA state = {};
    state.stateMask = LVIS_FOCUSED;
    state.state = LVIS_FOCUSED;
    SendMessageA(list(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&state));
  }
  // Shift+F10 or the Menu key: no point.
  void keyboardContextMenu() {
    SendMessageA(dialog->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()),
                 MAKELPARAM(-1, -1));
  }
  // A right-click on a row's middle, in screen coordinates.
  void rightClick(int row) {
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(list(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(&bounds)));
    POINT at = {bounds.left + 5, (bounds.top + bounds.bottom) / 2};
    ClientToScreen(list(), &at);
    SendMessageA(dialog->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()),
                 MAKELPARAM(at.x, at.y));
  }
  std::string reportCell(int id, int row, int column) {
    char buffer[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(reportControl(id), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return buffer;
  }
  int reportRows(int id) {
    return static_cast<int>(SendMessageA(reportControl(id), LVM_GETITEMCOUNT, 0, 0));
  }
  std::string statusText() { return windowText(reportControl(IDC_REPORT_STATUS)); }

  std::vector<std::string> menuTexts;
  UINT chosenCommand = 0;
};

TEST_F(ReportTest, AltEnterOnAGameRowOpensItsReportWithItsPlayersAndFacts) {
  select(rowNamed("first.mgx"));
  EXPECT_FALSE(report().isOpen());
  pressAltEnter();
  ASSERT_TRUE(report().isOpen());
  EXPECT_TRUE(IsWindowVisible(report().hwnd()));
  EXPECT_EQ(GetWindow(report().hwnd(), GW_OWNER), dialog->hwnd());
  EXPECT_EQ(report().report().state, ReportState::kGame);
  ASSERT_EQ(reportRows(IDC_REPORT_PLAYERS), 2);
  EXPECT_EQ(reportCell(IDC_REPORT_PLAYERS, 0, 0), "Alice");
  // The civilisations as the game's Japanese editions name them.
  EXPECT_EQ(reportCell(IDC_REPORT_PLAYERS, 0, 1), ansiFromUtf8("ゴート"));
  EXPECT_EQ(reportCell(IDC_REPORT_PLAYERS, 1, 1), ansiFromUtf8("ビザンティン"));
  EXPECT_EQ(reportCell(IDC_REPORT_FACTS, 0, 0), ansiFromUtf8("長さ"));
  EXPECT_EQ(reportCell(IDC_REPORT_FACTS, 2, 1), "Arabia");
  EXPECT_EQ(statusText(), "");
  // The picture fills the width the layout gives it, a diamond half as tall.
  const SIZE size = report().pictureSize();
  EXPECT_GT(size.cx, 100);
  EXPECT_EQ(size.cy, size.cx / 2);
}

TEST_F(ReportTest, TheKeyboardsShortcutMenuOpensTheFocusedRowParsingItAsASelectionDoes) {
  const int row = rowNamed("second.mgx");
  focusOnly(row);
  EXPECT_EQ(cell(row, 2), "");
  chosenCommand = IDM_LIST_DETAILS;
  keyboardContextMenu();
  EXPECT_EQ(menuTexts, std::vector<std::string>{ansiFromUtf8("詳細(&D)...\tAlt+Enter")});
  ASSERT_TRUE(report().isOpen());
  EXPECT_EQ(report().report().fileName, "second.mgx");
  EXPECT_EQ(reportRows(IDC_REPORT_PLAYERS), 8);
  EXPECT_EQ(cell(row, 2), "Arabia");  // the row's cells, as a selection updates them
}

TEST_F(ReportTest, ARightClickedGameRowsMenuOpensItsReport) {
  const int row = rowNamed("first.mgx");
  select(row);
  chosenCommand = IDM_LIST_DETAILS;
  rightClick(row);
  ASSERT_EQ(menuTexts.size(), 1u);
  ASSERT_TRUE(report().isOpen());
  EXPECT_EQ(report().report().fileName, "first.mgx");
}

TEST_F(ReportTest, AFolderRowsMenuOffersOpenWhichEntersIt) {
  const int row = rowNamed("Old");
  select(row);
  chosenCommand = IDM_LIST_OPEN;
  rightClick(row);
  EXPECT_EQ(menuTexts, std::vector<std::string>{ansiFromUtf8("開く(&O)")});
  EXPECT_EQ(dialog->folder(), saveGame() + "\\Old");
  EXPECT_FALSE(report().isOpen());
}

TEST_F(ReportTest, ADismissedMenuAndAltEnterOnAFolderOpenNothing) {
  select(rowNamed("first.mgx"));
  keyboardContextMenu();  // the menu is closed without a choice
  EXPECT_EQ(menuTexts.size(), 1u);
  select(rowNamed("Old"));
  pressAltEnter();
  EXPECT_FALSE(report().isOpen());
  EXPECT_EQ(dialog->folder(), saveGame() + "\\");
}

TEST_F(ReportTest, TheOpenReportFollowsTheSelectionAndSaysWhatItCannotShow) {
  select(rowNamed("first.mgx"));
  pressAltEnter();
  select(rowNamed("second.mgx"));
  EXPECT_EQ(report().report().fileName, "second.mgx");
  EXPECT_EQ(reportRows(IDC_REPORT_PLAYERS), 8);
  select(rowNamed("Old"));
  EXPECT_EQ(statusText(), loadResourceString(IDS_REPORT_FOLDER));
  EXPECT_EQ(reportRows(IDC_REPORT_PLAYERS), 0);
  EXPECT_EQ(report().pictureSize().cx, 0);
  select(rowNamed("broken.mgx"));
  EXPECT_EQ(statusText(), loadResourceString(IDS_REPORT_NOT_LOADED));
  EXPECT_EQ(reportRows(IDC_REPORT_FACTS), 0);
  select(rowNamed("unknown.mgx"));
  EXPECT_EQ(report().report().state, ReportState::kUnknownEdition);
  EXPECT_EQ(statusText(), loadResourceString(IDS_REPORT_UNKNOWN_EDITION) + " (VER 9.4 12.8)");
  EXPECT_FALSE(IsWindowEnabled(reportControl(IDC_REPORT_SAVE)));
  select(rowNamed("first.mgx"));
  EXPECT_EQ(statusText(), "");
  EXPECT_TRUE(IsWindowEnabled(reportControl(IDC_REPORT_SAVE)));
}

TEST_F(ReportTest, EscAndTheCloseButtonCloseItAndTheMainWindowStays) {
  select(rowNamed("first.mgx"));
  pressAltEnter();
  ASSERT_TRUE(report().isOpen());
  EXPECT_TRUE(press(reportControl(IDC_REPORT_PLAYERS), VK_ESCAPE));
  EXPECT_FALSE(report().isOpen());
  EXPECT_TRUE(IsWindow(dialog->hwnd()));
  EXPECT_FALSE(dialog->ended());
  pressAltEnter();
  ASSERT_TRUE(report().isOpen());
  SendMessageA(report().hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(report().isOpen());
  select(rowNamed("second.mgx"));  // a closed report follows nothing
  EXPECT_FALSE(report().isOpen());
}

TEST_F(ReportTest, ResizingRedrawsThePictureAtTheNewSizeAboveAMinimum) {
  select(rowNamed("first.mgx"));
  pressAltEnter();
  const SIZE before = report().pictureSize();
  SetWindowPos(report().hwnd(), nullptr, 0, 0, 1000, 800, SWP_NOZORDER | SWP_NOMOVE);
  const SIZE after = report().pictureSize();
  EXPECT_GT(after.cx, before.cx);
  EXPECT_EQ(after.cy, after.cx / 2);
  MINMAXINFO limits = {};
  SendMessageA(report().hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_GT(limits.ptMinTrackSize.x, 0);
  // At the minimum the players' list ends above the buttons.
  SetWindowPos(report().hwnd(), nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y,
               SWP_NOZORDER | SWP_NOMOVE);
  RECT players;
  RECT save;
  GetWindowRect(reportControl(IDC_REPORT_PLAYERS), &players);
  GetWindowRect(reportControl(IDC_REPORT_SAVE), &save);
  EXPECT_LT(players.bottom, save.top);
  EXPECT_GT(players.bottom - players.top, 40);
}

TEST_F(ReportTest, SaveWritesThePictureAsPngUnderTheGamesName) {
  select(rowNamed("first.mgx"));
  pressAltEnter();
  const std::string target = temp.path() + "\\map.png";
  std::wstring offered;
  report().setSavePicker([&](OPENFILENAMEW& info) -> std::optional<std::wstring> {
    offered = info.lpstrFile;
    return platform::wideFromExact(target);
  });
  SendMessageA(report().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_REPORT_SAVE, BN_CLICKED),
               reinterpret_cast<LPARAM>(reportControl(IDC_REPORT_SAVE)));
  EXPECT_EQ(offered, L"first.png");
  std::ifstream file(target, std::ios::binary);
  const std::vector<unsigned char> png((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
  int width = 0;
  int height = 0;
  int channels = 0;
  stbi_uc* decoded = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width,
                                           &height, &channels, 4);
  ASSERT_NE(decoded, nullptr) << stbi_failure_reason();
  stbi_image_free(decoded);
  EXPECT_EQ(width, report().pictureSize().cx);
  EXPECT_EQ(height, report().pictureSize().cy);
}

TEST_F(ReportTest, CopyPutsTheReportOnTheClipboardAsUnicodeText) {
  select(rowNamed("first.mgx"));
  pressAltEnter();
  SendMessageA(report().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_REPORT_COPY, BN_CLICKED),
               reinterpret_cast<LPARAM>(reportControl(IDC_REPORT_COPY)));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  std::wstring copied;
  if (data != nullptr) {
    copied = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  const GameEntryArray& store = dialog->store();
  int32_t index = 0;
  while (index < store.getSize() && store.at(index).fileName != "first.mgx") ++index;
  ASSERT_LT(index, store.getSize());
  const GameEntry& entry = store.at(index);
  const std::wstring length =
      platform::wideFromAnsi(ansiFromUtf8("長さ: ") + clockText(entry.facts.read().durationMs));
  EXPECT_NE(copied.find(length), std::wstring::npos) << platform::ansiFromWide(copied);
  EXPECT_NE(copied.find(platform::wideFromExact(u8"Alice\tゴート")), std::wstring::npos);
}

// Every position's player with the same play: Loom, then five archers.
GamePlay samplePlay() {
  GamePlay play;
  play.durationMs = 600000;
  for (int32_t number = 1; number <= 8; ++number) {
    PlayerPlay& player = play.players[number];
    player.actions = 450;
    player.actionsByMinute = std::vector<int32_t>(10, 45);
    player.research = {{90000, 22}};
    player.units = {{30000, 83, 1}, {100000, 4, 5}};
  }
  return play;
}

void pumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

TEST_F(ReportTest, ThePlayFollowsTheSelectionOnceWithActionsPerMinuteItsChartAndBuildOrders) {
  std::vector<std::string> walked;
  report().setPlayReader([&](const std::string& path, const GameEntry&) -> std::optional<GamePlay> {
    walked.push_back(path);
    return samplePlay();
  });
  select(rowNamed("second.mgx"));
  pumpMessages();
  EXPECT_TRUE(walked.empty());  // a selection with no report walks nothing
  select(rowNamed("first.mgx"));
  pressAltEnter();
  // Not yet: the selection is answered first, and of quick ones only the last is walked.
  select(rowNamed("second.mgx"));
  select(rowNamed("first.mgx"));
  EXPECT_TRUE(walked.empty());
  EXPECT_EQ(reportCell(IDC_REPORT_PLAYERS, 0, 9), "");
  EXPECT_EQ(report().chartSize().cx, 0);
  EXPECT_FALSE(IsWindowEnabled(reportControl(IDC_REPORT_SAVE_CHART)));
  pumpMessages();
  EXPECT_EQ(walked, std::vector<std::string>{saveGame() + "\\first.mgx"});
  EXPECT_EQ(reportCell(IDC_REPORT_PLAYERS, 0, 9), "45");
  EXPECT_EQ(reportCell(IDC_REPORT_PLAYERS, 1, 9), "45");
  // A column a player, under the name; the villager left out.
  HWND build = reportControl(IDC_REPORT_BUILD);
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(build)), 2);
  EXPECT_EQ(reportRows(IDC_REPORT_BUILD), 3);
  EXPECT_EQ(reportCell(IDC_REPORT_BUILD, 0, 1), report().report().players[1].name);
  // Named as the game's Japanese editions name them.
  EXPECT_EQ(reportCell(IDC_REPORT_BUILD, 1, 1), ansiFromUtf8("1:30 機織り"));
  EXPECT_EQ(reportCell(IDC_REPORT_BUILD, 2, 0), ansiFromUtf8("1:40 射手 x5"));
  // The chart in the space below, with each player's line in the colour.
  const SIZE chart = report().chartSize();
  EXPECT_GT(chart.cx, 200);
  EXPECT_GT(chart.cy, 100);
  const Rgb colour = morvane::slotColour(report().report().players[1].colourIndex);
  int inColour = 0;
  const std::vector<uint8_t>& rgba = report().chartPicture().rgba;
  for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
    inColour += rgba[i] == colour.red && rgba[i + 1] == colour.green && rgba[i + 2] == colour.blue;
  }
  EXPECT_GT(inColour, chart.cx / 2);
  // Saved under the game's name; copied with the build orders.
  const std::string target = temp.path() + "\\chart.png";
  std::wstring offered;
  report().setSavePicker([&](OPENFILENAMEW& info) -> std::optional<std::wstring> {
    offered = info.lpstrFile;
    return platform::wideFromExact(target);
  });
  ASSERT_TRUE(IsWindowEnabled(reportControl(IDC_REPORT_SAVE_CHART)));
  SendMessageA(report().hwnd(), WM_COMMAND, MAKEWPARAM(IDC_REPORT_SAVE_CHART, BN_CLICKED),
               reinterpret_cast<LPARAM>(reportControl(IDC_REPORT_SAVE_CHART)));
  EXPECT_EQ(offered, L"first APM.png");
  std::ifstream file(target, std::ios::binary);
  const std::vector<unsigned char> png((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
  int width = 0, height = 0, channels = 0;
  stbi_uc* decoded = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width,
                                           &height, &channels, 4);
  ASSERT_NE(decoded, nullptr) << stbi_failure_reason();
  stbi_image_free(decoded);
  EXPECT_EQ(width, chart.cx);
  EXPECT_EQ(height, chart.cy);
  const std::string copied = report().reportText();
  EXPECT_NE(
      copied.find(u8"ビルドオーダー\r\nAlice (APM 45)\r\n\t1:30 機織り\r\n\t1:40 射手 x5\r\n"),
      std::string::npos)
      << copied;
  // Another game's report drops the play until its own is read.
  select(rowNamed("second.mgx"));
  EXPECT_EQ(report().chartSize().cx, 0);
  EXPECT_EQ(reportRows(IDC_REPORT_BUILD), 0);
  pumpMessages();
  EXPECT_EQ(walked.size(), 2u);
  // Eight players in rows of as many as the width holds, each under its name:
  // nothing to scroll across.
  const int across = Header_GetItemCount(ListView_GetHeader(build));
  EXPECT_GE(across, 2);
  EXPECT_LT(across, 8);
  RECT client;
  GetClientRect(build, &client);
  int columnsWidth = 0;
  for (int column = 0; column < across; ++column)
    columnsWidth += ListView_GetColumnWidth(build, column);
  EXPECT_LE(columnsWidth, client.right);
  const int bands = (8 + across - 1) / across;
  EXPECT_EQ(reportRows(IDC_REPORT_BUILD), bands * 3 + bands - 1);
  for (int k = 0; k < 8; ++k) {
    const int row = k / across * 4;
    EXPECT_EQ(reportCell(IDC_REPORT_BUILD, row, k % across), report().report().players[k].name)
        << k;
    EXPECT_EQ(reportCell(IDC_REPORT_BUILD, row + 1, k % across), ansiFromUtf8("1:30 機織り")) << k;
  }
}

// GBK bytes: "游戏" (two characters code page 932 lacks) and "阿拉伯".
const std::string kGbkName = "\xD3\xCE\xCF\xB7";
const std::string kGbkArabia = "\xB0\xA2\xC0\xAD\xB2\xAE";

std::wstring wideText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring wideCell(HWND list, int row, int column) {
  wchar_t buffer[512] = {};
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

TEST_F(ReportTest, TheMenusEveryEditionItemListsTheLaterFilesAndShowsTheirScript) {
  fixtures::SampleGame chinese = fixtures::twoPlayerGame();
  chinese.layout = fixtures::conquerorsLayout();
  chinese.mapLabel = std::string(fixtures::kLabelChinese);
  chinese.mapText = kGbkArabia;
  chinese.players[0].name = kGbkName;
  writeGame("china.mgz", chinese);
  writeGame("later.AOE2RECORD", fixtures::twoPlayerGame());
  writeGame("notes.txt", fixtures::twoPlayerGame());
  const std::vector<std::string> documented = column(0);
  std::vector<bool> checked;
  dialog->setMenuPicker([&](HMENU menu, HWND, POINT) -> UINT {
    checked.push_back((GetMenuState(menu, IDM_LIST_ALL_RECORDINGS, MF_BYCOMMAND) & MF_CHECKED) !=
                      0);
    char text[256] = {};
    GetMenuStringA(menu, IDM_LIST_ALL_RECORDINGS, text, sizeof text, MF_BYCOMMAND);
    menuTexts.push_back(text);
    return IDM_LIST_ALL_RECORDINGS;
  });
  EXPECT_FALSE(dialog->listsEveryEdition());
  EXPECT_EQ(rowNamed("china.mgz"), -1);

  // On the list's empty space, below its rows.
  RECT client;
  GetClientRect(list(), &client);
  POINT below = {client.right / 2, client.bottom - 4};
  ClientToScreen(list(), &below);
  SendMessageA(dialog->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list()),
               MAKELPARAM(below.x, below.y));
  EXPECT_EQ(menuTexts, std::vector<std::string>{ansiFromUtf8("すべての録画を表示(&A)")});
  EXPECT_TRUE(dialog->listsEveryEdition());
  // The pane's edits hold wide text: an ANSI one would turn it back into the code page.
  EXPECT_TRUE(IsWindowUnicode(control(IDC_NAME1)));
  EXPECT_TRUE(IsWindowUnicode(control(IDC_CHAT)));
  EXPECT_EQ(rowCount(), static_cast<int>(documented.size()) + 2);
  const int row = rowNamed("china.mgz");
  ASSERT_GE(row, 0);
  EXPECT_GE(rowNamed("later.AOE2RECORD"), 0);
  EXPECT_EQ(rowNamed("notes.txt"), -1);

  // Parsed on its first selection as a .mgx is, its Map and POV cells filled,
  // in the window's code page rather than the recording's.
  select(row);
  EXPECT_EQ(cell(row, 2), ansiFromUtf8("阿拉伯"));
  EXPECT_EQ(wideText(control(IDC_NAME1)), L"\u6E38\u620F");
  EXPECT_EQ(text(IDC_NAME2), "Bob");
  EXPECT_NE(wideText(control(IDC_CHAT)).find(L"<Game start>"), std::wstring::npos);
  // A .mgx row keeps the code page's bytes.
  select(rowNamed("first.mgx"));
  EXPECT_EQ(text(IDC_NAME1), "Alice");
  pressAltEnter();
  select(row);
  ASSERT_TRUE(report().isOpen());
  EXPECT_EQ(wideCell(reportControl(IDC_REPORT_PLAYERS), 0, 0), L"\u6E38\u620F");
  EXPECT_EQ(wideCell(reportControl(IDC_REPORT_FACTS), 2, 1), L"\u963F\u62C9\u4F2F");

  // Shift+F10 on a row: the item is checked; choosing it again lists as documented.
  keyboardContextMenu();
  EXPECT_EQ(checked, (std::vector<bool>{false, true}));
  EXPECT_FALSE(dialog->listsEveryEdition());
  EXPECT_EQ(column(0), documented);
  EXPECT_FALSE(IsWindowUnicode(control(IDC_NAME1)));
}

// A folder of other editions' recordings alone: the empty list says they
// are there and how to show them; listing them takes the note away. A
// game's report gives the time it was played where its recording states it.
TEST_F(ReportTest, AnEmptyListingNamesTheOtherEditionsRecordingsItLeftOut) {
  makeFolder("Later");
  fixtures::DefinitiveGame definitive = fixtures::twoPlayerDefinitiveGame(63.0f);
  definitive.playedAt = 1651256760;
  ASSERT_TRUE(fixtures::writeRecording(inSaveGame("Later\\a.aoe2record"),
                                       fixtures::buildDefinitiveHeader(definitive),
                                       fixtures::buildDefinitiveBody(definitive)));
  writeGame("Later\\b.mgz", fixtures::twoPlayerGame());
  type(IDC_FOLDER_PATH, inSaveGame("Later"));
  pressEnterIn(IDC_FOLDER_PATH);
  EXPECT_EQ(rowCount(), 0);
  // The dialog's static text that counts recordings (件).
  HWND note = FindWindowExW(dialog->hwnd(), nullptr, L"STATIC", nullptr);
  while (note != nullptr && wideText(note).find(L"\u4EF6") == std::wstring::npos) {
    note = FindWindowExW(dialog->hwnd(), note, L"STATIC", nullptr);
  }
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(IsWindowVisible(note));
  // Seen, not only visible: a list that does not clip its siblings paints
  // its empty rows over the note.
  EXPECT_NE(GetWindowLongPtrW(control(IDC_GAME_LIST), GWL_STYLE) & WS_CLIPSIBLINGS, 0);
  const std::wstring shown = wideText(note);
  EXPECT_NE(shown.find(L"\u9332\u753B\u304C 2 \u4EF6"), std::wstring::npos);  // 録画が 2 件
  EXPECT_NE(shown.find(L"\u3059\u3079\u3066\u306E\u9332\u753B\u3092\u8868\u793A(A)"),
            std::wstring::npos);  // すべての録画を表示(A)
  dialog->setMenuPicker([](HMENU, HWND, POINT) -> UINT { return IDM_LIST_ALL_RECORDINGS; });
  keyboardContextMenu();
  EXPECT_EQ(rowCount(), 2);
  EXPECT_FALSE(IsWindowVisible(note));
  select(rowNamed("a.aoe2record"));
  pressAltEnter();
  ASSERT_TRUE(report().isOpen());
  EXPECT_EQ(reportCell(IDC_REPORT_FACTS, 0, 0), ansiFromUtf8("対戦日時"));
  EXPECT_EQ(reportCell(IDC_REPORT_FACTS, 0, 1), "2022/04/29 18:26");
}

}  // namespace
}  // namespace morvane::ui::testing
