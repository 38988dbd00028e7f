// The program's one window: the folder box, the filter, the game list and
// the detail pane with the eight player slots and the chat.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "library/folder_scan.h"
#include "library/game_entry_array.h"
#include "library/game_rows.h"
#include "library/listing_context.h"
#include "library/name_table.h"
#include "platform/code_page.h"
#include "ui/control.h"
#include "ui/dialog.h"
#include "ui/folder_picker.h"
#include "ui/list_view_control.h"
#include "ui/popup_menu.h"
#include "ui/report_dialog.h"
#include "ui/scoped_handle.h"
#include "ui/search_dialog.h"
#include "ui/shell_icon_source.h"
#include "ui/slot_controls.h"

namespace morvane::ui {

class MainDialog : public Dialog {
 public:
  MainDialog();
  ~MainDialog() override;

  BOOL PreTranslateMessage(MSG* message) override;

  // The game's save folder from the registry, or empty.
  std::string defaultFolder() const;

  // Lists the folder at the exact path path (platform/exact_path.h); the path
  // box is left as it is.
  void scanFolder(const std::string& path);
  // Shows the note over the list's rows, or hides it when note is empty.
  void showListNote(const std::string& note);

  // Handlers, bound by the message table.
  void onBrowse();
  void onUp();
  void onFilter();
  void onFileExit();
  void onColumnClick(NMHDR* notification, LRESULT* result);
  void onListItemChanged(NMHDR* notification, LRESULT* result);
  void onListDoubleClick(NMHDR* notification, LRESULT* result);
  void onListGetDisplayInfo(NMHDR* notification, LRESULT* result);
  void onListGetInfoTip(NMHDR* notification, LRESULT* result);
  void onListFindItem(NMHDR* notification, LRESULT* result);
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);
  // Alt+Enter: the report of the list's focused game row; a folder row opens none.
  void openReport();
  // Ctrl+F and the list's shortcut menu: the search window over the folder
  // tree shown.
  void openSearch();
  // For the search window: the report of a recording anywhere, and a
  // recording's row selected in the list, its folder listed first.
  void showReportOfFile(const std::string& exactPath);
  void selectFileInList(const std::string& exactPath);
  static int CALLBACK browseCallback(HWND picker, UINT event, LPARAM parameter, LPARAM data);

  // For the tests and the benchmark, which drive the window without a person.
  void setFolderPicker(FolderPicker picker) { folderPicker = std::move(picker); }
  void setMenuPicker(MenuPicker picker) { menuPicker = std::move(picker); }
  ReportDialog& reportWindow() { return report; }
  SearchDialog& searchWindow() { return search; }
  const GameEntryArray& store() const { return entryStore; }
  const NameTable& mapNames() const { return mapNameTable; }
  const NameTable& playerNames() const { return playerNameTable; }
  const std::string& folder() const { return folderPath; }
  const std::string& filter() const { return filterText; }
  int32_t slotColourIndex(int slot) const {
    return slotColourIndices[static_cast<std::size_t>(slot)];
  }
  HIMAGELIST images() const { return imageList.get(); }
  // The list's shortcut menu's "every edition's recordings": off at every start.
  bool listsEveryEdition() const { return everyEdition; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& exchange) override;
  void OnOK() override;
  bool dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  bool OnSysCommand(WPARAM id, LPARAM parameter, INT_PTR& result);
  bool OnPaint(WPARAM, LPARAM, INT_PTR& result);
  bool OnQueryDragIcon(WPARAM, LPARAM, INT_PTR& result);
  bool OnSize(WPARAM, LPARAM, INT_PTR& result);
  bool OnDestroy(WPARAM, LPARAM, INT_PTR& result);
  bool onCtlColorMessage(WPARAM dc, LPARAM control, INT_PTR& result);
  bool OnContextMenu(WPARAM window, LPARAM point, INT_PTR& result);

  void setUpSystemMenu();
  void loadNameTables();
  void setUpUpButton();
  void setUpList();
  ListingContext listing();
  // The store index a row carries, or -1 when it names no entry.
  int32_t entryIndexOfRow(int row) const;
  // Lists the folder at the exact path and shows it in the path box.
  void enterFolder(std::string exact);
  // The exact folder the path box names: the listed one while the box still
  // shows it, else the box's text, which is in the code page.
  std::string pathBoxFolder() const;
  void enterFolderRow(const GameEntry& entry);
  // The row's entry, parsed first when it is a game not parsed yet (its
  // cells redrawn); null for a row the list does not have.
  GameEntry* parsedEntryOfRow(int row);
  void parseGame(GameEntry& entry, const std::string& path);
  // The row the list's keyboard focus is on, else its first selected one; -1.
  int focusedRow() const;
  // The report, when open, shows the row's entry.
  void followInReport(const GameEntry& entry);
  // Brings the report up on the row's game, parsed as a selection parses it.
  void openReportOfRow(int row);
  void showEntry(const GameEntry& entry);
  // A row only the every-edition listing gives: names and chat decoded from
  // the recording's code page into the pane's Unicode edits.
  void showDecodedEntry(const GameEntry& entry);
  void clearPane();
  ListedKinds listedKinds() const {
    return everyEdition ? ListedKinds::kEveryEdition : ListedKinds::kMgx;
  }
  // Switches the listing of every edition's recordings and lists the folder again.
  void toggleEveryEdition();
  void appendEveryEditionItem(HMENU menu) const;
  // The pane's name and chat edits made anew, Unicode or ANSI.
  void recreatePaneEdits(bool unicode);

  ScopedBitmap upBitmap;
  ScopedImageList imageList;
  ScopedBrush whiteBrush;
  GameEntryArray entryStore;
  NameTable mapNameTable;
  NameTable playerNameTable;
  // Element 0 of each is not bound; slots are 1..8.
  std::array<Control, kSlots + 1> nameEdits;
  std::array<Control, kSlots + 1> teamEdits;
  std::array<Control, kSlots + 1> civEdits;
  Control chatEdit;
  ListViewControl gameList;
  HWND listNote = nullptr;  // made on first use, over the list
  std::string folderPath;   // the path box's text, in the code page
  std::string exactFolder;  // the folder listed, as the file system names it
  std::string filterText;
  bool everyEdition = false;  // nothing stored: the documented listing at every start
  HICON appIcon = nullptr;
  // Slot colour index per slot 1..8 (element 0 unused, like the edits).
  std::array<int32_t, kSlots + 1> slotColourIndices = {};

  std::unique_ptr<platform::CodePage> codePage;
  GameRows gameRows{entryStore, playerNameTable, *codePage};
  ShellIconSource icons{imageList};
  FolderPicker folderPicker = pickFolderWithShell;
  MenuPicker menuPicker = pickFromMenuWithSystem;
  // Owned by this window, its window ends with this one.
  ReportDialog report;
  // The same; declared after the report, so its worker ends first.
  SearchDialog search;
};

}  // namespace morvane::ui
