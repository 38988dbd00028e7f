// Moving between folders and the keyboard rules of the main window.
#include "library/folder_scan.h"
#include "resource.h"
#include "ui/main_dialog.h"
#include "ui/resource_text.h"

namespace morvane::ui {

BOOL MainDialog::PreTranslateMessage(MSG* message) {
  // Esc would end the dialog through its cancel command.
  if (message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE) return TRUE;
  return Dialog::PreTranslateMessage(message);
}

void MainDialog::OnOK() {
  UpdateData(TRUE);
  HWND focus = GetFocus();
  const int focused = focus != nullptr && IsChild(hwnd(), focus) ? GetDlgCtrlID(focus) : 0;
  if (focused == IDC_FOLDER_PATH) {
    scanFolder(folderPath);
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
  char displayName[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = hwnd();
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = &MainDialog::browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(folderPath.c_str());
  const std::optional<std::string> chosen = folderPicker(info);
  if (!chosen) return;
  folderPath = *chosen;
  scanFolder(folderPath);
  UpdateData(FALSE);
}

int CALLBACK MainDialog::browseCallback(HWND picker, UINT event, LPARAM, LPARAM data) {
  // Nothing may unwind into the shell's frames.
  try {
    if (event == BFFM_INITIALIZED) SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, data);
  } catch (...) {
  }
  return 0;
}

void MainDialog::onUp() {
  if (!folderPath.empty() && folderPath.back() == '\\') folderPath.pop_back();
  const std::size_t separator = codePage->lastBackslash(folderPath);
  if (separator == std::string::npos) return;
  folderPath.resize(separator);
  scanFolder(folderPath);
  UpdateData(FALSE);
}

void MainDialog::onListDoubleClick(NMHDR* notification, LRESULT* result) {
  const auto* activation = reinterpret_cast<const NMITEMACTIVATE*>(notification);
  const int32_t index = activation->iItem == -1 ? -1 : entryIndexOfRow(activation->iItem);
  if (index >= 0 && entryStore.at(index).isFolder()) enterFolderRow(entryStore.at(index));
  *result = 0;
}

void MainDialog::enterFolderRow(const GameEntry& entry) {
  // The entry lives in the store that the scan replaces; keep the name.
  const std::string name = entry.fileName;
  folderPath = joinPath(folderPath, name);
  UpdateData(FALSE);
  scanFolder(folderPath);
}

int32_t MainDialog::entryIndexOfRow(int row) const { return gameRows.storeIndex(row); }

}  // namespace morvane::ui
