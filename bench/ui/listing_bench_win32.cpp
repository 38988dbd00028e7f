// Figures of the real window under Wine: listing a folder of recordings into
// the list view (scanFolder to sorted rows) against the enumeration alone,
// the longest time the window left a message from another thread unanswered
// meanwhile, the filter button and a sort by each header against a sort that
// asks the collation at each comparison, selecting 100 games in turn (parse +
// pane) against the parse alone, and opening the report of a parsed game
// against drawing its picture alone. Each is next to a baseline of the same
// run. The folders are written
// into the temporary folder and removed afterwards; writing 200,000 files
// through Wine takes many minutes, so a folder made beforehand may be named
// instead.
//
// Usage: morvane_bench_ui.exe [recordings | folder]  (default 200000)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "library/game_rows.h"
#include "library/sorting.h"
#include "minimap/minimap.h"
#include "platform/code_page.h"
#include "platform/folder_listing.h"
#include "recording/recorded_game_file.h"
#include "recording_writer/recording_writer.h"
#include "ui/main_dialog.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSelected = 100;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU time of the calling thread, in seconds: the machine may be shared.
double threadSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& time) {
    return static_cast<double>((uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) * 1e-7;
}

std::string gameName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "game%06d.mgx", i);
  return name;
}

// games recordings (none for 0), of which the first kSelected in name order
// are real games and the rest one-byte files (the listing reads none of them).
class BenchFolder {
 public:
  BenchFolder(const std::string& root, int games) : path_(root), games_(games) {
    if (games == 0) return;
    CreateDirectoryA(path_.c_str(), nullptr);
    const std::string first = file(gameName(0));
    morvane::fixtures::SampleGame game = morvane::fixtures::twoPlayerGame();
    game.layout = morvane::fixtures::conquerorsLayout();  // a version the reader knows
    game.width = 120;
    game.height = 120;
    morvane::fixtures::writeSampleGame(first, game);
    for (int i = 1; i < games; ++i) {
      const std::string name = file(gameName(i));
      if (i < kSelected) {
        CopyFileA(first.c_str(), name.c_str(), FALSE);
        continue;
      }
      HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
      DWORD written = 0;
      WriteFile(handle, "x", 1, &written, nullptr);
      CloseHandle(handle);
    }
  }
  ~BenchFolder() {
    if (games_ == 0) return;
    for (int i = 0; i < games_; ++i) DeleteFileA(file(gameName(i)).c_str());
    RemoveDirectoryA(path_.c_str());
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
  int games_;
};

// Asks the window for an answer from another thread, again and again, and
// keeps the longest wait: how long the window would have looked hung.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND window)
      : thread_([this, window] {
          while (!stop_) {
            const Clock::time_point start = Clock::now();
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer);
            longest_ = std::max(longest_.load(), secondsSince(start));
            Sleep(5);
          }
          done_ = true;
        }) {}
  ~AnswerWatch() { finish(); }
  AnswerWatch(const AnswerWatch&) = delete;
  AnswerWatch& operator=(const AnswerWatch&) = delete;

  // Stops watching, answering the window's messages until the thread ends.
  double finish() {
    stop_ = true;
    while (!done_) {
      pump();
      Sleep(1);
    }
    if (thread_.joinable()) thread_.join();
    return longest_;
  }

  static void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::atomic<double> longest_{0};
  std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string argument = argc > 1 ? argv[1] : "200000";
  const bool given = argument.find_first_not_of("0123456789") != std::string::npos;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string scratch =
      std::string(temp) + "morvane-bench-ui-" + std::to_string(GetCurrentProcessId());
  Clock::time_point start = Clock::now();
  const BenchFolder games(scratch + "-games", kSelected);
  const BenchFolder written(scratch + "-listing", given ? 0 : std::atoi(argument.c_str()));
  if (!given) std::printf("wrote %s recordings in %.1f s\n", argument.c_str(), secondsSince(start));
  const std::string listed = given ? argument : written.path();

  morvane::ui::MainDialog dialog;
  if (dialog.create(nullptr) == nullptr) {
    std::printf("the window could not be created\n");
    return 1;
  }
  HWND list = GetDlgItem(dialog.hwnd(), 1001);

  start = Clock::now();
  double cpu = threadSeconds();
  const std::size_t items = morvane::platform::listFolder(listed + "\\").size();
  const double enumeration = secondsSince(start);
  const double enumerationCpu = threadSeconds() - cpu;
  AnswerWatch watch(dialog.hwnd());
  for (int i = 0; i < 20; ++i) {
    AnswerWatch::pump();
    Sleep(5);
  }
  start = Clock::now();
  cpu = threadSeconds();
  dialog.scanFolder(listed);
  const double listing = secondsSince(start);
  const double listingCpu = threadSeconds() - cpu;
  AnswerWatch::pump();
  const double unanswered = watch.finish();
  const auto rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  start = Clock::now();
  dialog.onFilter();
  const double refill = secondsSince(start);
  SetWindowTextA(GetDlgItem(dialog.hwnd(), 1014), "GAME01");
  start = Clock::now();
  dialog.onFilter();
  const double filtered = secondsSince(start);
  const auto filteredRows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  SetWindowTextA(GetDlgItem(dialog.hwnd(), 1014), "");
  dialog.onFilter();

  std::printf("folder of %zu items, %d rows in the list view (wall time)\n", items, rows);
  std::printf("  enumeration alone (baseline)       %8.1f ms  (CPU %.1f ms)\n", enumeration * 1e3,
              enumerationCpu * 1e3);
  std::printf("  scanFolder to sorted rows          %8.1f ms  (%.2fx; CPU %.1f ms, %.2fx)\n",
              listing * 1e3, listing / enumeration, listingCpu * 1e3, listingCpu / enumerationCpu);
  std::printf("  longest the window left unanswered %8.1f ms  (hung from 5000 ms)\n",
              unanswered * 1e3);
  std::printf("  filter button, no text: by Name    %8.1f ms\n", refill * 1e3);
  std::printf("  filter button, \"GAME01\": %5d rows %7.1f ms\n", filteredRows, filtered * 1e3);

  // The old way as the baseline: the collation asked at every comparison.
  const auto codePage = morvane::platform::makeSystemCodePage();
  const char* const names[] = {"Name", "POV", "Map", "Modified"};
  for (int column = 0; column < 4; ++column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = 1001;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    LRESULT result = 0;
    start = Clock::now();
    dialog.onColumnClick(&click.hdr, &result);
    const double sorted = secondsSince(start);
    std::vector<int32_t> indices(static_cast<std::size_t>(dialog.store().getSize()));
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<int32_t>(i);
    start = Clock::now();
    std::stable_sort(indices.begin(), indices.end(), [&](int32_t a, int32_t b) {
      std::string scratchA;
      std::string scratchB;
      return morvane::compareAscending(
                 morvane::rowKey(dialog.store().at(a), column, *codePage, scratchA),
                 morvane::rowKey(dialog.store().at(b), column, *codePage, scratchB), *codePage) < 0;
    });
    const double collating = secondsSince(start);
    std::printf("  click on %-8s: sort %8.1f ms  (collating each comparison: %.1f ms)\n",
                names[column], sorted * 1e3, collating * 1e3);
  }

  // Entered as the user does, so that selections read the games from it.
  dialog.setFolderPicker([&](BROWSEINFOA&) { return std::optional<std::string>(games.path()); });
  dialog.onBrowse();
  const auto gameRows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  start = Clock::now();
  for (int i = 0; i < kSelected; ++i) {
    morvane::RecordedGameFile file;
    morvane::GameEntry entry;
    if (file.load(games.file(gameName(i)))) file.parseGame(entry);
  }
  const double parseOnly = secondsSince(start);
  start = Clock::now();
  for (int row = 0; row < gameRows; ++row) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&state));
  }
  const double selecting = secondsSince(start);
  std::printf("selecting %d games in turn in a folder of %d\n", gameRows, gameRows);
  std::printf("  load + parseGame alone (baseline)   %7.1f ms  (%.2f ms a game)\n", parseOnly * 1e3,
              parseOnly * 1e3 / kSelected);
  std::printf("  selection: parse + pane            %8.1f ms  (%.2f ms a game, %.2fx)\n",
              selecting * 1e3, selecting * 1e3 / kSelected, selecting / parseOnly);

  // The last game selected is parsed; its report opens over it.
  start = Clock::now();
  dialog.openReport();
  const double opening = secondsSince(start);
  AnswerWatch::pump();
  const SIZE size = dialog.reportWindow().pictureSize();
  LVITEMA shownRow = {};
  shownRow.mask = LVIF_PARAM;
  shownRow.iItem = gameRows - 1;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&shownRow));
  const morvane::GameEntry& shown = dialog.store().at(static_cast<int32_t>(shownRow.lParam));
  start = Clock::now();
  const morvane::Picture picture = morvane::drawMinimap(shown, size.cx);
  const double drawing = secondsSince(start);
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = 0;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  state.state = LVIS_SELECTED;
  start = Clock::now();
  SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  const double following = secondsSince(start);
  std::printf("the report of a parsed game, picture %ld x %ld\n", static_cast<long>(size.cx),
              static_cast<long>(size.cy));
  std::printf("  drawing the picture alone (baseline) %6.1f ms  (%zu bytes)\n", drawing * 1e3,
              picture.rgba.size());
  std::printf("  opening the report (Alt+Enter)     %8.1f ms  (goal: 50 ms)\n", opening * 1e3);
  std::printf("  a selection while it is open       %8.1f ms  (parse, pane and report)\n",
              following * 1e3);
  return 0;
}
