// Figures of the real window under Wine: listing a folder of 20,000
// recordings into the list view (scan to sorted rows), and selecting 100
// games in turn (parse + pane), each next to a baseline of the same run.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/folder_listing.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"
#include "ui/main_dialog.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kGames = 20000;
constexpr int kSelected = 100;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string makeFolder(const std::string& root) {
  const std::string folder = root + "\\listing";
  const std::string done = folder + "\\complete.txt";
  if (GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) return folder;
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string first = folder + "\\game00000.mgx";
  morvane::fixtures::writeSampleGame(first, morvane::fixtures::twoPlayerGame());
  char name[64];
  for (int i = 1; i < kGames; ++i) {
    std::snprintf(name, sizeof name, "\\game%05d.mgx", (i * 7919) % 100000);
    CopyFileA(first.c_str(), (folder + name).c_str(), FALSE);
  }
  morvane::fixtures::writeFile(done, {'x'});
  return folder;
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string folder = makeFolder(std::string(temp) + "morvane-bench-ui");

  morvane::ui::MainDialog dialog;
  if (dialog.create(nullptr) == nullptr) {
    std::printf("the window could not be created\n");
    return 1;
  }
  HWND list = GetDlgItem(dialog.hwnd(), 1001);

  Clock::time_point start = Clock::now();
  const std::size_t items = morvane::platform::listFolder(folder + "\\").size();
  const double enumeration = secondsSince(start);
  start = Clock::now();
  dialog.scanFolder(folder);
  const double listing = secondsSince(start);
  const auto rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  std::printf("folder of %zu items, %d rows in the list view\n", items, rows);
  std::printf("  enumeration alone (baseline)       %8.1f ms\n", enumeration * 1e3);
  std::printf("  scanFolder to sorted rows          %8.1f ms  (%.1fx the enumeration)\n",
              listing * 1e3, listing / enumeration);

  start = Clock::now();
  for (int i = 0; i < kSelected; ++i) {
    morvane::RecordedGameFile file;
    morvane::GameEntry entry;
    if (file.load(folder + "\\" + dialog.store().at(i).fileName)) file.parseHeader(entry);
  }
  const double parseOnly = secondsSince(start);
  start = Clock::now();
  for (int row = 0; row < kSelected && row < rows; ++row) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&state));
  }
  const double selecting = secondsSince(start);
  std::printf("selecting %d games in turn\n", kSelected);
  std::printf("  load + parseHeader alone (baseline) %7.1f ms  (%.2f ms a game)\n", parseOnly * 1e3,
              parseOnly * 1e3 / kSelected);
  std::printf("  selection: parse + pane            %8.1f ms  (%.2f ms a game, %.2fx)\n",
              selecting * 1e3, selecting * 1e3 / kSelected, selecting / parseOnly);
  return 0;
}
