// Drives the real main window in-process: a prepared SaveGame folder and
// registry value, the dialog created modelessly, and the messages a user's
// actions produce. What the user would see is read back from the controls.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/entry_time.h"
#include "recording_writer/recording_writer.h"
#include "resource.h"
#include "ui/main_dialog.h"
#include "ui/registry_value.h"

namespace morvane::ui::testing {

// Shift_JIS bytes: "プレイヤー" and "ゲーム".
inline const std::string kJapaneseName = "\x83\x76\x83\x8C\x83\x43\x83\x84\x81\x5B";
inline const std::string kJapaneseWord = "\x83\x51\x81\x5B\x83\x80";

// The game's "EXE Path" in one registry view, changed for a test and put back
// as it was when this object ends: the value, its type, and the keys that
// setting it created. Running the tests never changes an installation.
class SavedExePath {
 public:
  explicit SavedExePath(REGSAM view);
  ~SavedExePath();
  SavedExePath(const SavedExePath&) = delete;
  SavedExePath& operator=(const SavedExePath&) = delete;

  void set(const std::string& value);
  void remove();

 private:
  REGSAM view_;
  bool existed_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
  std::vector<std::string> createdKeys_;  // outermost first
};

// The colour of a solid brush; CLR_INVALID for no brush.
COLORREF brushColour(HBRUSH brush);

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The SaveGame folder (ends without a separator) and a file in it.
  std::string saveGame() const { return saveGame_; }
  std::string inSaveGame(const std::string& name) const { return saveGame_ + "\\" + name; }
  void writeGame(const std::string& name, const fixtures::SampleGame& game);
  void writeJunk(const std::string& name);
  void makeFolder(const std::string& name);
  void setModified(const std::string& name, const platform::EntryTime& utc);
  // Files beside the test program, removed after the test.
  void writeBesideProgram(const std::string& name, const std::string& text);

  // Creates the window; the registry value points at the temp folder unless
  // withRegistry is false.
  void open(bool withRegistry = true);
  void setExePath(const std::string& value) { exePath.set(value); }

  HWND list() const { return GetDlgItem(dialog->hwnd(), IDC_GAME_LIST); }
  HWND control(int id) const { return GetDlgItem(dialog->hwnd(), id); }
  std::string text(int id) const;
  void type(int id, const std::string& value) const;

  int rowCount() const;
  std::string cell(int row, int column) const;
  std::vector<std::string> column(int column) const;
  int rowNamed(const std::string& name) const;

  void click(int id) const;
  void menu(int id) const;
  void clickHeader(int column) const;
  void select(int row) const;
  void selectAlso(int row) const;
  void doubleClick(int row) const;
  // A key press as the message loop would hand it over; true when consumed.
  bool press(HWND target, WPARAM key) const;
  void pressEnterIn(int id) const;
  // Selects every row once, so that every game is parsed.
  void selectEveryRow() const;
  // How the window tells a control to paint itself, asked through the message
  // that control really sends (WM_CTLCOLORSTATIC from a read-only edit): the
  // brush answered and what was left in the device context.
  struct ControlPaint {
    HBRUSH brush;
    COLORREF text;
    int backgroundMode;
  };
  ControlPaint paintOf(int id) const;
  // A slot's name colour; the test fails unless the name is drawn on white.
  COLORREF nameColour(int slot) const;

  fixtures::TempFolder temp;
  SavedExePath exePath{KEY_WOW64_32KEY};  // the game's own view
  std::unique_ptr<MainDialog> dialog;

 private:
  std::string saveGame_;
  std::vector<std::wstring> besideProgram_;
};

}  // namespace morvane::ui::testing
