// The game report: a window of its own beside the main one, owned by it,
// showing one row's game as the library's report model lays it out (the map
// picture, the players, the game's facts, the chat, and from the walk of
// every command each player's actions per minute, their chart and the build
// orders), in the script the recording was written in, with the pictures
// saved as PNG and the report copied as text. It follows the main list's selection while open
// and keeps no settings.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "library/game_report.h"
#include "minimap/actions_chart.h"
#include "minimap/minimap.h"
#include "recording/game_entry.h"
#include "recording/game_play.h"
#include "ui/control.h"
#include "ui/dialog.h"
#include "ui/report_text.h"
#include "ui/save_picker.h"
#include "ui/scoped_handle.h"

namespace morvane::ui {

// The walk of every command of the recording at an exact path, whose entry
// the list parsed; nothing where it cannot be read.
using PlayReader =
    std::function<std::optional<GamePlay>(const std::string& exactPath, const GameEntry& entry)>;

class ReportDialog : public Dialog {
 public:
  ReportDialog();

  // Creates the window for owner, hidden until shown. Its owner makes it
  // when it starts: building the window costs more than showing a game.
  bool build(HWND owner);
  // Shown: closing only hides it.
  bool isOpen() const { return hwnd() != nullptr && IsWindowVisible(hwnd()); }
  // Shows the entry's report (a copy: the store may be listed anew meanwhile)
  // and brings the window up. The play of the file at exactPath follows
  // from the message queue: the selection that shows a game does not wait
  // for the walk of its commands, and of quick selections only the last is
  // walked.
  void show(const GameEntry& entry, const std::string& exactPath);

  // Handlers, bound by the message table.
  void onSavePicture();
  void onSaveChart();
  void onCopy();

  // For the tests, which drive the window without a person.
  void setSavePicker(SavePicker picker) { savePicker = std::move(picker); }
  void setPlayReader(PlayReader reader) { playReader = std::move(reader); }
  const GameReport& report() const { return shownReport; }
  SIZE pictureSize() const { return {picture.width, picture.height}; }
  SIZE chartSize() const { return {chart.width, chart.height}; }
  const Picture& chartPicture() const { return chart; }
  // The report as the clipboard gets it, in UTF-8.
  std::string reportText() const;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& exchange) override;
  void OnCancel() override;
  bool dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  bool OnSize(WPARAM, LPARAM, INT_PTR& result);
  bool OnGetMinMaxInfo(WPARAM, LPARAM info, INT_PTR& result);
  bool OnPaint(WPARAM, LPARAM, INT_PTR& result);
  bool OnClose(WPARAM, LPARAM, INT_PTR& result);
  bool OnPlay(WPARAM, LPARAM, INT_PTR& result);
  void onPlayersCustomDraw(NMHDR* notification, LRESULT* result);
  void onBuildCustomDraw(NMHDR* notification, LRESULT* result);

  void setUpColumns();
  void placeBesideOwner();
  void layOut();
  void fillControls();
  void fillPlayers();
  void fillBuildOrders();
  int buildOrdersAcross() const;
  // The picture drawn anew at the width the layout gives it.
  void drawPicture();
  // The chart drawn anew at the size the layout gives it.
  void drawChart();
  void savePng(const Picture& png, const std::string& suffix);

  Control statusText;
  Control factsList;
  Control playersList;
  Control chatBox;
  Control buildList;
  GameEntry shownEntry;
  GameReport shownReport;
  std::string shownPath;
  // Its buildings go on the map once it is read.
  std::optional<GamePlay> shownPlay;
  bool playPending = false;
  std::vector<BuildOrderColumn> buildColumns;
  int buildAcross = 0;
  BuildOrderGrid buildGrid;
  RECT pictureArea = {};
  Picture picture;
  ScopedBitmap pictureBitmap;
  RECT chartArea = {};
  Picture chart;
  ScopedBitmap chartBitmap;
  SavePicker savePicker = pickSavePathWithSystem;
  PlayReader playReader = readPlayOfRecording;
};

}  // namespace morvane::ui
