// The detail pane: parsing a game on its first selection, showing its
// players and chat, and the colours of the player names.
#include "library/folder_scan.h"
#include "library/list_presentation.h"
#include "library/recording_text.h"
#include "platform/exact_path_win32.h"
#include "recording/recorded_game_file.h"
#include "ui/detail_pane_tables.h"
#include "ui/main_dialog.h"

namespace morvane::ui {

void MainDialog::onListItemChanged(NMHDR* notification, LRESULT* result) {
  *result = 0;
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(notification);
  if ((change->uNewState & LVIS_SELECTED) == 0 || gameList.restoringSelection()) return;
  const int row = change->iItem;
  const int32_t index = entryIndexOfRow(row);
  if (index < 0) return;
  GameEntry& listed = entryStore.at(index);
  if (listed.isFolder()) {
    clearPane();
    followInReport(listed);
    return;
  }
  if (!isListedRecording(listed.fileName, listedKinds())) return;
  const GameEntry& entry = *parsedEntryOfRow(row);
  if (isListedRecording(entry.fileName)) {
    showEntry(entry);
  } else {
    showDecodedEntry(entry);
  }
  for (int slot = 1; slot <= kSlots; ++slot)
    slotColourIndices[static_cast<std::size_t>(slot)] = ui::slotColourIndex(entry, slot);
  followInReport(entry);
  UpdateData(FALSE);
}

GameEntry* MainDialog::parsedEntryOfRow(int row) {
  const int32_t index = entryIndexOfRow(row);
  if (index < 0) return nullptr;
  // Parsed in place: the store keeps the result for the row's next selection.
  GameEntry& entry = entryStore.at(index);
  if (!entry.isFolder() && entry.mapName.empty()) {
    parseGame(entry, joinPath(exactFolder, entry.exactName));
    gameList.redrawRow(row);
  }
  return &entry;
}

void MainDialog::parseGame(GameEntry& entry, const std::string& path) {
  RecordedGameFile file;
  if (!file.load(path)) {
    // The report names a version the reader refuses; the row stays unparsed.
    if (file.lastError() == LoadError::kUnsupportedVersion) {
      entry.facts.write().version = file.version();
    }
    for (int k = 1; k <= kSlots; ++k) {
      const auto position = static_cast<std::size_t>(k);
      entry.playerNumbers[position] = k;
      entry.slots[position].civId = 0;
      entry.slots[position].colourId = 0;
    }
    return;
  }
  file.parseGame(entry);
  entry.povName = povCellText(entry, playerNameTable, *codePage);
}

void MainDialog::showEntry(const GameEntry& entry) {
  for (int slot = 1; slot <= kSlots; ++slot) {
    const auto k = static_cast<std::size_t>(slot);
    const PlayerSlot* player = slotOfPosition(entry, slot);
    nameEdits[k].setText(entry.playerNames[k]);
    civEdits[k].setText(player != nullptr ? civilisationText(player->civId) : std::string());
    teamEdits[k].setText(entry.playerNames[k].empty() ? std::string() : entry.teamLabels[k]);
  }
  chatEdit.setText(chatText(entry));
}

namespace {

void setWideText(HWND window, const std::string& utf8) {
  SetWindowTextW(window, platform::wideFromExact(utf8).c_str());
}

}  // namespace

void MainDialog::showDecodedEntry(const GameEntry& entry) {
  const RecordingText decode(entry.facts.allocated() ? entry.facts.read().codePage : 0);
  for (int slot = 1; slot <= kSlots; ++slot) {
    const auto k = static_cast<std::size_t>(slot);
    const PlayerSlot* player = slotOfPosition(entry, slot);
    setWideText(nameEdits[k].hwnd(), decode(entry.playerNames[k]));
    civEdits[k].setText(player != nullptr ? civilisationText(player->civId) : std::string());
    teamEdits[k].setText(entry.playerNames[k].empty() ? std::string() : entry.teamLabels[k]);
  }
  setWideText(chatEdit.hwnd(),
              decode(entry.lobbyChat) + gameStartSeparator + decode(entry.gameChat));
}

// An edit holds its text in the form it was created in: an ANSI one would
// turn wide text back into the code page. Same place, style, font and id.
void MainDialog::recreatePaneEdits(bool unicode) {
  const auto recreate = [&](Control& edit) {
    HWND old = edit.hwnd();
    RECT rect;
    GetWindowRect(old, &rect);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_EXSTYLE));
    const int id = GetDlgCtrlID(old);
    HWND made = unicode
        ? CreateWindowExW(exStyle, L"EDIT", L"", style, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr)
        : CreateWindowExA(exStyle, "EDIT", "", style, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleA(nullptr), nullptr);
    if (made == nullptr) return;
    SendMessageW(made, WM_SETFONT, SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
    // Where the old one was in the tab order.
    SetWindowPos(made, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(old);
    edit.attach(made);
  };
  for (int slot = 1; slot <= kSlots; ++slot) recreate(nameEdits[static_cast<std::size_t>(slot)]);
  recreate(chatEdit);
}

void MainDialog::clearPane() {
  for (int slot = 1; slot <= kSlots; ++slot) {
    const auto k = static_cast<std::size_t>(slot);
    nameEdits[k].setText("");
    civEdits[k].setText("");
    teamEdits[k].setText("");
  }
  chatEdit.setText("");
}

HBRUSH MainDialog::OnCtlColor(HDC dc, HWND control, UINT) {
  for (int slot = 1; slot <= kSlots; ++slot) {
    const auto k = static_cast<std::size_t>(slot);
    if (control == nameEdits[k].hwnd()) {
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, slotColour(slotColourIndices[k]));
      return whiteBrush.get();
    }
    if (control == teamEdits[k].hwnd() || control == civEdits[k].hwnd()) {
      SetBkMode(dc, TRANSPARENT);
      return whiteBrush.get();
    }
  }
  if (control == chatEdit.hwnd()) return whiteBrush.get();
  // The note stands on the list's white rows.
  if (control == listNote && listNote != nullptr) {
    SetBkMode(dc, TRANSPARENT);
    return whiteBrush.get();
  }
  return nullptr;  // the system's own colours
}

bool MainDialog::onCtlColorMessage(WPARAM dc, LPARAM control, INT_PTR& result) {
  HBRUSH brush = OnCtlColor(reinterpret_cast<HDC>(dc), reinterpret_cast<HWND>(control), 0);
  if (brush == nullptr) return false;
  result = reinterpret_cast<INT_PTR>(brush);
  return true;
}

}  // namespace morvane::ui
