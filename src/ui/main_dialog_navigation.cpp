// Moving between folders and the keyboard rules of the main window.
#include "library/folder_scan.h"
#include "platform/exact_path.h"
#include "platform/exact_path_win32.h"
#include "platform/path.h"
#include "resource.h"
#include "ui/main_dialog.h"
#include "ui/resource_text.h"

namespace morvane::ui {

BOOL MainDialog::PreTranslateMessage(MSG* message) {
  // The report's own keys (Esc closes it, Tab moves in it) are its own.
  if (report.isOpen() && (message->hwnd == report.hwnd() || IsChild(report.hwnd(), message->hwnd)))
    return report.PreTranslateMessage(message);
  if (search.isOpen() && (message->hwnd == search.hwnd() || IsChild(search.hwnd(), message->hwnd)))
    return search.PreTranslateMessage(message);
  // Ctrl+F anywhere in the window: the search, as a file manager finds files.
  if (message->message == WM_KEYDOWN && message->wParam == 'F' && GetKeyState(VK_CONTROL) < 0) {
    openSearch();
    return TRUE;
  }
  // Alt+Enter on a row: its properties, as the file manager has it.
  if (message->message == WM_SYSKEYDOWN && message->wParam == VK_RETURN &&
      message->hwnd == gameList.hwnd()) {
    openReport();
    return TRUE;
  }
  // Esc would end the dialog through its cancel command.
  if (message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE) return TRUE;
  return Dialog::PreTranslateMessage(message);
}

void MainDialog::OnOK() {
  UpdateData(TRUE);
  HWND focus = GetFocus();
  const int focused = focus != nullptr && IsChild(hwnd(), focus) ? GetDlgCtrlID(focus) : 0;
  if (focused == IDC_FOLDER_PATH) {
    exactFolder = pathBoxFolder();
    scanFolder(exactFolder);
  } else if (focused == IDC_FILTER) {
    onFilter();
  } else if (focused == IDC_GAME_LIST) {
    const int32_t index = entryIndexOfRow(gameList.getSelectionMark());
    if (gameList.getSelectedCount() == 1 && index >= 0) {
      const GameEntry& entry = entryStore.at(index);
      if (entry.isFolder()) enterFolderRow(entry);
    }
  }
  UpdateData(FALSE);
}

void MainDialog::onFileExit() { OnCancel(); }

void MainDialog::onBrowse() {
  UpdateData(TRUE);
  const std::string caption = ansiFromUtf8("リプレイフォルダを選択してください");
  const std::wstring start = platform::wideFromExact(pathBoxFolder());
  char displayName[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = hwnd();
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = &MainDialog::browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  const std::optional<std::string> chosen = folderPicker(info);
  if (!chosen) return;
  enterFolder(*chosen);
  UpdateData(FALSE);
}

int CALLBACK MainDialog::browseCallback(HWND picker, UINT event, LPARAM, LPARAM data) {
  // Nothing may unwind into the shell's frames.
  try {
    // The start folder is wide, so that an exact path outside the code page
    // is found too.
    if (event == BFFM_INITIALIZED) SendMessageA(picker, BFFM_SETSELECTIONW, TRUE, data);
  } catch (...) {
  }
  return 0;
}

void MainDialog::onUp() {
  // Exact, so UTF-8: no byte of another character is a '\'.
  std::optional<std::string> parent = platform::parentFolder(pathBoxFolder());
  if (!parent) return;
  enterFolder(std::move(*parent));
  UpdateData(FALSE);
}

void MainDialog::onListDoubleClick(NMHDR* notification, LRESULT* result) {
  const auto* activation = reinterpret_cast<const NMITEMACTIVATE*>(notification);
  const int32_t index = activation->iItem == -1 ? -1 : entryIndexOfRow(activation->iItem);
  if (index >= 0 && entryStore.at(index).isFolder()) enterFolderRow(entryStore.at(index));
  *result = 0;
}

void MainDialog::enterFolder(std::string exact) {
  exactFolder = std::move(exact);
  folderPath = platform::ansiFromExact(exactFolder);
  scanFolder(exactFolder);
}

std::string MainDialog::pathBoxFolder() const {
  if (folderPath == platform::ansiFromExact(exactFolder)) return exactFolder;
  return platform::exactFromAnsi(folderPath);
}

void MainDialog::enterFolderRow(const GameEntry& entry) {
  // The rows are the listed folder's. The path is joined before the scan
  // replaces the store that holds entry.
  enterFolder(joinPath(exactFolder, entry.exactName));
  UpdateData(FALSE);
}

int32_t MainDialog::entryIndexOfRow(int row) const { return gameRows.storeIndex(row); }

}  // namespace morvane::ui
