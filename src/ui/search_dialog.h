// The search window: finds games in the archive index of the folder tree the
// main window shows, and from its opening updates that index in a worker
// thread while the window keeps answering, its results growing as files are
// read; and hands a game found to the main window (its
// report, or its file selected in the list). What it shows is computed by
// archive/search_lines.h; the window only lays it out.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "archive/archive_index.h"
#include "archive/search_lines.h"
#include "ui/control.h"
#include "ui/dialog.h"

namespace morvane::ui {

class SearchDialog : public Dialog {
 public:
  // What the main window does for a game found; paths are exact.
  struct Host {
    std::function<void(const std::string& path)> openReport;
    std::function<void(const std::string& path)> selectInList;
  };

  SearchDialog();
  ~SearchDialog() override;

  bool build(HWND owner);
  bool isOpen() const { return hwnd() != nullptr && IsWindowVisible(hwnd()); }
  // Shows the window over the folder tree at the exact path (no trailing
  // separator) and brings it up.
  void show(const std::string& folder);
  void setHost(Host host) { host_ = std::move(host); }

  // Handlers, bound by the message table.
  void onFind();
  void onUpdate();
  void onStop();
  void onReport();
  void onSelectInList();
  void onResultsDoubleClick(NMHDR* notification, LRESULT* result);
  void onColumnClick(NMHDR* notification, LRESULT* result);

  // The index file: the user's local application data folder unless a test
  // names another before the window is shown.
  void setIndexPath(std::string path) { indexPath_ = std::move(path); }
  const std::string& indexPath() const { return indexPath_; }
  bool updating() const { return worker_.joinable(); }
  const std::vector<archive::ResultLine>& lines() const { return lines_; }
  archive::ResultOrder order() const { return order_; }
  HWND tipWindow() const { return tip_; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& exchange) override;
  void OnOK() override;
  void OnCancel() override;
  bool dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  bool onProgress(WPARAM done, LPARAM total, INT_PTR& result);
  bool onFinished(WPARAM, LPARAM, INT_PTR& result);
  bool OnClose(WPARAM, LPARAM, INT_PTR& result);

  void setUpControls();
  // The connection the window searches through; false, with the reason in
  // the status line, when the index cannot be used.
  bool openReader();
  void showStatus(const std::string& utf8);
  // The form's search run again; quiet leaves the status line to the update.
  void searchAgain(bool quiet);
  // The lines into the list, the game selected before still selected.
  void fillResults();
  void markSortedColumn();
  // The tip of the line the pointer rests on (client point of the list).
  void setUpTip();
  static LRESULT CALLBACK resultsListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self);
  int rowAt(POINT at) const;
  void showTip(POINT at);
  void hideTip();
  int selectedLine() const;
  void setUpdating(bool running);
  archive::SearchForm readForm() const;

  Control folderText, playerEdit, civCombo, mapEdit, resultCombo, fromEdit, toEdit;
  Control resultsList, statusText, progressBar, updateButton, stopButton;
  Host host_;
  std::string folder_;
  std::string updatedFolder_;  // the tree the worker reads
  std::string indexPath_;
  bool damaged_ = false;
  std::unique_ptr<archive::Archive> reader_;
  std::vector<archive::ResultLine> lines_;
  archive::ResultOrder order_;
  ULONGLONG lastRefresh_ = 0;  // when results last grew during an update
  std::vector<std::string> shownFirstPaths_;  // of the list's rows, as drawn
  HWND tip_ = nullptr;
  int tipRow_ = -1;  // the line whose tip shows, -1 for none

  // The worker: it owns its own connection; the window learns of it only
  // through posted messages and what it leaves here when it ends.
  std::thread worker_;
  std::atomic<bool> stop_{false};
  std::mutex finishedMutex_;
  std::string workerError_;
  bool workerDamaged_ = false;
  archive::UpdateStats workerStats_;
};

}  // namespace morvane::ui
