// The detail pane: lazy parse on selection, the cells it fills, slots,
// chat, colours, failed games and folder rows.
#include "main_window_fixture.h"
#include "recording/recorded_game_file.h"
#include "resource.h"
#include "ui/detail_pane_tables.h"
#include "ui/slot_controls.h"

namespace morvane::ui::testing {
namespace {

fixtures::SampleGame threePlayers() {
  fixtures::SampleGame game;
  game.players = {fixtures::SamplePlayer{1, kJapaneseName, 18, 7, 2},
                  fixtures::SamplePlayer{3, "Bob", 0, 0, 3},
                  fixtures::SamplePlayer{2, "Cy", 1, 2, 1}};
  game.pov = 1;
  game.mapText = "Arabia";
  game.lobbyChat = {"@#1gl hf"};
  game.gameChat = {"@#3wp"};
  return game;
}

class DetailPaneTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    writeGame("three.mgx", threePlayers());
    fixtures::SampleGame quiet = fixtures::twoPlayerGame();
    quiet.lobbyChat.clear();
    quiet.gameChat.clear();
    quiet.pov = 9;
    writeGame("quiet.mgx", quiet);
    writeJunk("broken.mgx");
    makeFolder("Old");
  }
};

TEST_F(DetailPaneTest, SelectingAGameParsesItAndShowsItsPlayersAndChat) {
  writeBesideProgram("player.txt", kJapaneseName + "\tKen\n");
  open();
  const int row = rowNamed("three.mgx");
  select(row);
  EXPECT_EQ(cell(row, 2), "Arabia");
  EXPECT_EQ(cell(row, 1), "Ken");  // mapped; the name edit keeps the header's name
  EXPECT_EQ(text(IDC_NAME1), kJapaneseName);
  EXPECT_EQ(text(IDC_CIV1), "Kor");
  EXPECT_EQ(text(IDC_TEAM1), "1");
  EXPECT_EQ(text(IDC_NAME2), "Bob");
  EXPECT_EQ(text(IDC_CIV2), "");
  EXPECT_EQ(text(IDC_TEAM2), "2");
  EXPECT_EQ(text(IDC_NAME3), "Cy");
  EXPECT_EQ(text(IDC_CIV3), "Bri");
  EXPECT_EQ(text(IDC_TEAM3), "-");
  for (int k = 4; k <= 8; ++k) {
    EXPECT_EQ(text(kSlotControlIds[k].name), "");
    EXPECT_EQ(text(kSlotControlIds[k].team), "");
  }
  EXPECT_EQ(text(IDC_CHAT), std::string("gl hf\r\n") + gameStartSeparator + "wp\r\n");
  EXPECT_EQ(nameColour(1), RGB(255, 128, 0));  // colour 7: orange
  EXPECT_EQ(nameColour(2), RGB(0, 0, 192));    // colour 0: blue
  EXPECT_EQ(nameColour(3), RGB(0, 192, 0));    // colour 2: green
  const GameEntryArray& store = dialog->store();
  int32_t index = 0;
  while (index < store.getSize() && store.at(index).fileName != "three.mgx") ++index;
  ASSERT_LT(index, store.getSize());
  const GameEntry& stored = store.at(index);
  EXPECT_EQ(stored.povName, "Ken");
}

TEST_F(DetailPaneTest, GamesNamedOutsideTheCodePageAreReadByTheirExactNames) {
  for (const ForeignName& name : kForeignNames)
    writeGame(std::string(name.exact) + ".mgx", threePlayers());
  open();
  for (const ForeignName& name : kForeignNames) {
    SCOPED_TRACE(name.shown);
    const int row = rowNamed(std::string(name.shown) + ".mgx");
    ASSERT_NE(row, -1);
    select(row);
    EXPECT_EQ(cell(row, 2), "Arabia");
    EXPECT_EQ(text(IDC_NAME1), kJapaneseName);
    EXPECT_EQ(text(IDC_CIV1), "Kor");
  }
}

TEST_F(DetailPaneTest, AGameIsReadOnceThenServedFromTheStore) {
  open();
  const int row = rowNamed("three.mgx");
  select(row);
  writeJunk("three.mgx");  // a second read would now fail
  select(rowNamed("quiet.mgx"));
  select(row);
  EXPECT_EQ(text(IDC_NAME1), kJapaneseName);
  EXPECT_EQ(text(IDC_CIV1), "Kor");
}

// Every temporary name beside the game taken, as good as a folder the user
// cannot write into: the game is read all the same.
TEST_F(DetailPaneTest, GameWithEveryTemporaryNameTakenFillsTheSlots) {
  for (int n = 1; n <= RecordedGameFile::kTemporaryNameTries; ++n)
    writeJunk("three.mgx.tmp" + std::to_string(n));
  open();
  const int row = rowNamed("three.mgx");
  select(row);
  EXPECT_EQ(cell(row, 2), "Arabia");
  EXPECT_EQ(text(IDC_NAME1), kJapaneseName);
  EXPECT_EQ(text(IDC_CIV1), "Kor");
  EXPECT_EQ(text(IDC_NAME3), "Cy");
}

TEST_F(DetailPaneTest, GameWithoutChatOrPovShowsTheSeparatorAndLeavesThePovCell) {
  open();
  const int row = rowNamed("quiet.mgx");
  select(row);
  EXPECT_EQ(text(IDC_CHAT), gameStartSeparator);
  EXPECT_EQ(cell(row, 1), "");
  EXPECT_EQ(text(IDC_NAME1), "Alice");
}

TEST_F(DetailPaneTest, FailedGameShowsEmptySlotsInBlueAndIsRetried) {
  open();
  select(rowNamed("three.mgx"));
  const int row = rowNamed("broken.mgx");
  select(row);
  for (int k = 1; k <= 8; ++k) {
    EXPECT_EQ(text(kSlotControlIds[k].name), "");
    EXPECT_EQ(text(kSlotControlIds[k].civ), "");
    EXPECT_EQ(text(kSlotControlIds[k].team), "");
    EXPECT_EQ(nameColour(k), RGB(0, 0, 192));
  }
  EXPECT_EQ(text(IDC_CHAT), gameStartSeparator);
  EXPECT_EQ(cell(row, 2), "");
  writeGame("broken.mgx", threePlayers());  // repaired: the next selection reads it
  select(row);
  EXPECT_EQ(cell(row, 2), "Arabia");
}

TEST_F(DetailPaneTest, FolderRowClearsThePaneAndKeepsTheColours) {
  open();
  select(rowNamed("three.mgx"));
  select(rowNamed("Old"));
  for (int k = 1; k <= 8; ++k) {
    EXPECT_EQ(text(kSlotControlIds[k].name), "");
    EXPECT_EQ(text(kSlotControlIds[k].civ), "");
    EXPECT_EQ(text(kSlotControlIds[k].team), "");
  }
  EXPECT_EQ(text(IDC_CHAT), "");
  EXPECT_EQ(nameColour(1), RGB(255, 128, 0));
}

TEST_F(DetailPaneTest, SelectionReplacesUnappliedTextsAndOtherEventsChangeNothing) {
  open();
  type(IDC_FILTER, "typed");
  const int row = rowNamed("three.mgx");
  // The row gaining only the focus is no selection.
  LVITEMA state = {};
  state.stateMask = LVIS_FOCUSED;
  state.state = LVIS_FOCUSED;
  SendMessageA(list(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(&state));
  EXPECT_EQ(text(IDC_NAME1), "");
  EXPECT_EQ(text(IDC_FILTER), "typed");
  select(row);
  EXPECT_EQ(text(IDC_FILTER), "");
  // Another folder leaves the last game in the pane.
  type(IDC_FOLDER_PATH, inSaveGame("Old"));
  pressEnterIn(IDC_FOLDER_PATH);
  EXPECT_EQ(text(IDC_NAME1), kJapaneseName);
}

TEST_F(DetailPaneTest, ColourHandlerPaintsNamesOnlyAndDefersForOtherControls) {
  open();
  const ControlPaint team = paintOf(IDC_TEAM1);
  EXPECT_EQ(brushColour(team.brush), RGB(255, 255, 255));
  EXPECT_EQ(team.text, RGB(1, 2, 3));
  EXPECT_EQ(team.backgroundMode, TRANSPARENT);
  const ControlPaint chat = paintOf(IDC_CHAT);
  EXPECT_EQ(chat.brush, team.brush);
  EXPECT_EQ(chat.backgroundMode, OPAQUE);
  const ControlPaint path = paintOf(IDC_FOLDER_PATH);  // the system's own colours
  EXPECT_NE(path.brush, team.brush);
  EXPECT_EQ(path.text, GetSysColor(COLOR_WINDOWTEXT));
}

TEST(DetailPaneTablesTest, OutOfRangeIdsShowNothingAndBlack) {
  EXPECT_EQ(civilisationText(18), "Kor");
  EXPECT_EQ(civilisationText(19), "Ita");
  EXPECT_EQ(civilisationText(26), "Mal");
  EXPECT_EQ(civilisationText(31), "Vie");
  EXPECT_EQ(civilisationText(39), "Boh");
  EXPECT_EQ(civilisationText(49), "Shu");
  EXPECT_EQ(civilisationText(59), "Tup");
  EXPECT_EQ(civilisationText(60), "");
  EXPECT_EQ(civilisationText(-1), "");
  EXPECT_EQ(slotColour(8), RGB(255, 128, 0));
  EXPECT_EQ(slotColour(9), RGB(0, 0, 0));
  GameEntry entry;
  entry.playerNumbers[1] = 9;
  entry.playerNumbers[2] = -1;
  entry.playerNumbers[3] = 3;
  entry.slots[3].colourId = 8;
  entry.playerNumbers[4] = 4;
  entry.slots[4].colourId = -1;
  EXPECT_EQ(slotOfPosition(entry, 1), nullptr);
  EXPECT_EQ(slotOfPosition(entry, 2), nullptr);
  EXPECT_EQ(slotColourIndex(entry, 1), 0);
  EXPECT_EQ(slotColourIndex(entry, 3), 0);
  EXPECT_EQ(slotColourIndex(entry, 4), 0);
  entry.slots[4].colourId = 7;
  EXPECT_EQ(slotColourIndex(entry, 4), 8);
}

}  // namespace
}  // namespace morvane::ui::testing
