// The listing in the real list view: filter, each column's sort and the
// header-click toggle.
#include "main_window_fixture.h"
#include "resource.h"
#include "support/utc_time.h"

namespace morvane::ui::testing {
namespace {

fixtures::SampleGame game(const std::string& pov, const std::string& map) {
  fixtures::SampleGame sample = fixtures::twoPlayerGame();
  sample.players[0].name = pov;
  sample.pov = 1;
  sample.mapText = map;
  return sample;
}

class ListTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    writeGame("a.mgx", game("Zed", "Oasis"));
    writeGame("B.mgx", game("amy", "Arabia"));
    writeGame("c.mgx", game("Max", "Baltic"));
    writeGame("unparsed.mgx", game("Kim", "Yucatan"));
    makeFolder("Old");
    setModified("a.mgx", fixtures::utcTime(2005, 8, 20, 9, 5));
    setModified("B.mgx", fixtures::utcTime(2004, 12, 31, 23, 59));
    setModified("c.mgx", fixtures::utcTime(2005, 3, 1, 7, 0));
    setModified("unparsed.mgx", fixtures::utcTime(2006, 1, 1, 0, 0));
    open();
    for (const char* name : {"a.mgx", "B.mgx", "c.mgx"}) select(rowNamed(name));
  }
};

TEST_F(ListTest, RowsShowNameTheParsedPovAndMapAndTheUtcTime) {
  EXPECT_EQ(column(0),
            (std::vector<std::string>{"Old", "a.mgx", "B.mgx", "c.mgx", "unparsed.mgx"}));
  const int a = rowNamed("a.mgx");
  EXPECT_EQ(cell(a, 1), "Zed");
  EXPECT_EQ(cell(a, 2), "Oasis");
  EXPECT_EQ(cell(a, 3), "2005/08/20  9:05");
  EXPECT_EQ(cell(rowNamed("B.mgx"), 3), "2004/12/31 23:59");
  EXPECT_EQ(cell(rowNamed("unparsed.mgx"), 1), "");
  EXPECT_EQ(cell(rowNamed("unparsed.mgx"), 2), "");
}

// The tip the list view would show while the pointer rests on a row, asked
// in the ANSI form; with wide set, in the UTF-16 one, given back in ANSI.
std::string tipOf(HWND dialog, HWND list, int row, bool wide = false) {
  char text[INFOTIPSIZE] = "unchanged";
  wchar_t wideText[INFOTIPSIZE] = L"unchanged";
  NMLVGETINFOTIPA tip = {};
  tip.hdr.hwndFrom = list;
  tip.hdr.idFrom = IDC_GAME_LIST;
  tip.hdr.code = wide ? LVN_GETINFOTIPW : LVN_GETINFOTIPA;
  tip.pszText = wide ? reinterpret_cast<char*>(wideText) : text;
  tip.cchTextMax = INFOTIPSIZE;
  tip.iItem = row;
  SendMessageA(dialog, WM_NOTIFY, IDC_GAME_LIST, reinterpret_cast<LPARAM>(&tip));
  if (!wide) return text;
  WideCharToMultiByte(CP_ACP, 0, wideText, -1, text, sizeof text, nullptr, nullptr);
  return text;
}

TEST_F(ListTest, OnlyAParsedGamesRowHasATipAndItStartsWithTheLength) {
  const std::string lengthLabel = "\x92\xB7\x82\xB3: ";  // Shift_JIS "長さ: "
  for (bool wide : {false, true}) {
    SCOPED_TRACE(wide ? "UTF-16" : "ANSI");
    const std::string tip = tipOf(dialog->hwnd(), list(), rowNamed("a.mgx"), wide);
    EXPECT_EQ(tip.rfind(lengthLabel + "0:00:", 0), 0u) << tip;
    EXPECT_EQ(tipOf(dialog->hwnd(), list(), rowNamed("unparsed.mgx"), wide), "");
    EXPECT_EQ(tipOf(dialog->hwnd(), list(), rowNamed("Old"), wide), "");
  }
}

TEST_F(ListTest, EachColumnSortsFoldersFirstAndEmptyKeysLast) {
  const std::vector<std::string> up = {"Old", "B.mgx", "c.mgx", "a.mgx", "unparsed.mgx"};
  const std::vector<std::string> down = {"unparsed.mgx", "a.mgx", "c.mgx", "B.mgx", "Old"};
  // Header clicks in turn and the order each leaves.
  const std::pair<int, const std::vector<std::string>*> clicks[] = {
      {2, &up}, {2, &down}, {1, &up}, {3, &up}, {3, &down}};
  for (const auto& [header, order] : clicks) {
    SCOPED_TRACE(header);
    clickHeader(header);
    EXPECT_EQ(column(0), *order);
  }
}

TEST_F(ListTest, HeaderClicksFollowTheToggleAcrossRescans) {
  clickHeader(0);  // Name was the last sorted ascending: descending now
  EXPECT_EQ(column(0),
            (std::vector<std::string>{"unparsed.mgx", "c.mgx", "B.mgx", "a.mgx", "Old"}));
  clickHeader(2);
  clickHeader(0);  // another column in between: ascending
  EXPECT_EQ(column(0).front(), "Old");
  EXPECT_EQ(column(0)[1], "a.mgx");
  clickHeader(0);
  EXPECT_EQ(column(0).front(), "unparsed.mgx");
  // A rescan sorts ascending by Name and leaves the toggle where it was.
  pressEnterIn(IDC_FOLDER_PATH);
  EXPECT_EQ(column(0).front(), "Old");
  clickHeader(0);
  EXPECT_EQ(column(0).front(), "Old");
  clickHeader(0);
  EXPECT_EQ(column(0).front(), "unparsed.mgx");
}

TEST_F(ListTest, SelectionAndMarkFollowTheirRowThroughASort) {
  select(rowNamed("Old"));
  clickHeader(0);  // descending: the folder goes last
  const int old = rowNamed("Old");
  ASSERT_EQ(old, 4);
  EXPECT_EQ(ListView_GetNextItem(list(), -1, LVNI_SELECTED), old);
  EXPECT_EQ(ListView_GetNextItem(list(), old, LVNI_SELECTED), -1);
  EXPECT_EQ(ListView_GetSelectionMark(list()), old);
}

TEST_F(ListTest, ALetterTypedInTheListSelectsTheNextRowStartingWithIt) {
  SetFocus(list());
  SendMessageA(list(), WM_CHAR, 'b', 1);  // from c.mgx on, round to the top
  EXPECT_EQ(ListView_GetNextItem(list(), -1, LVNI_SELECTED), rowNamed("B.mgx"));
}

TEST_F(ListTest, HeaderClickReplacesUnappliedTexts) {
  type(IDC_FILTER, "typed");
  type(IDC_FOLDER_PATH, "C:\\elsewhere");
  clickHeader(1);
  EXPECT_EQ(text(IDC_FILTER), "");
  EXPECT_EQ(text(IDC_FOLDER_PATH), dialog->folder());
}

TEST_F(ListTest, FilterMatchesNameMapOrPovOfParsedGamesWithoutRegardToCase) {
  type(IDC_FILTER, "ARAB");
  click(IDC_FILTER_BUTTON);
  EXPECT_EQ(column(0), std::vector<std::string>{"B.mgx"});
  type(IDC_FILTER, "zed");
  pressEnterIn(IDC_FILTER);
  EXPECT_EQ(column(0), std::vector<std::string>{"a.mgx"});
  type(IDC_FILTER, "yucatan");  // the unparsed game matches by file name only
  click(IDC_FILTER_BUTTON);
  EXPECT_TRUE(column(0).empty());
  type(IDC_FILTER, "o");
  click(IDC_FILTER_BUTTON);
  EXPECT_EQ(column(0), (std::vector<std::string>{"Old", "a.mgx"}));
  // The filter stays in force for the next folder.
  pressEnterIn(IDC_FOLDER_PATH);
  EXPECT_EQ(column(0), std::vector<std::string>{"Old"});
  // The row leads to its own entry, whatever rows the filter removed.
  const std::string folder = dialog->folder();
  doubleClick(0);
  EXPECT_EQ(dialog->folder(), folder + (folder.back() == '\\' ? "" : "\\") + "Old");
}

}  // namespace
}  // namespace morvane::ui::testing
