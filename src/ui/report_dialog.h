// The game report: a window of its own beside the main one, owned by it,
// showing one row's game as the library's report model lays it out (the map
// picture, the players, the game's facts, the chat), in the script the
// recording was written in, with the picture saved as PNG and
// the report copied as text. It follows the main list's selection while open
// and keeps no settings.
#pragma once

#include <windows.h>

#include <string>

#include "library/game_report.h"
#include "minimap/minimap.h"
#include "recording/game_entry.h"
#include "ui/control.h"
#include "ui/dialog.h"
#include "ui/save_picker.h"
#include "ui/scoped_handle.h"

namespace morvane::ui {

class ReportDialog : public Dialog {
 public:
  ReportDialog();

  // Creates the window for owner, hidden until shown. Its owner makes it
  // when it starts: building the window costs more than showing a game.
  bool build(HWND owner);
  // Shown: closing only hides it.
  bool isOpen() const { return hwnd() != nullptr && IsWindowVisible(hwnd()); }
  // Shows the entry's report (a copy: the store may be listed anew meanwhile)
  // and brings the window up.
  void show(const GameEntry& entry);

  // Handlers, bound by the message table.
  void onSavePicture();
  void onCopy();

  // For the tests, which drive the window without a person.
  void setSavePicker(SavePicker picker) { savePicker = std::move(picker); }
  const GameReport& report() const { return shownReport; }
  SIZE pictureSize() const { return {picture.width, picture.height}; }
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
  void onPlayersCustomDraw(NMHDR* notification, LRESULT* result);

  void setUpColumns();
  void placeBesideOwner();
  void layOut();
  void fillControls();
  // The picture drawn anew at the width the layout gives it.
  void drawPicture();

  Control statusText;
  Control factsList;
  Control playersList;
  Control chatBox;
  GameEntry shownEntry;
  GameReport shownReport;
  RECT pictureArea = {};
  Picture picture;
  ScopedBitmap pictureBitmap;
  SavePicker savePicker = pickSavePathWithSystem;
};

}  // namespace morvane::ui
