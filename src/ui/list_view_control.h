// The game list as a real report list view over the listing's rows. Texts
// are ANSI code page bytes.
//
// The list view holds no rows of its own (it has the owner-data style): it
// asks for the cells of the rows it shows, and they are formatted from the
// entries then. Filling and sorting 200,000 rows then costs what the rows
// cost, not a window message and an allocation in the control for every
// cell, nor a sort that calls back across the control for each comparison.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "library/game_rows.h"
#include "ui/control.h"

namespace morvane::ui {

// A left-aligned column of a report list view, with its heading.
void insertListColumn(HWND list, int column, const std::string& heading, int width);

class ListViewControl : public Control {
 public:
  // The rows the list shows; they must outlive the window.
  void setRows(const GameRows& rows) { rows_ = &rows; }
  // Reorders the rows through reorder(); the selection, focus and mark stay
  // on the entries they were on.
  void keepSelectionWhile(const std::function<void()>& reorder);
  // One row's cells changed.
  void redrawRow(int row) const;

  int getSelectedCount() const;
  int getSelectionMark() const;
  void insertColumn(int column, const std::string& heading, int width) const;
  void setImageList(HIMAGELIST images, int kind) const;

  // The list's request for what it shows of a row (LVN_GETDISPINFO).
  void answerDisplayInfo(NMLVDISPINFOA& request) const;
  // The list's search for the letters typed into it (LVN_ODFINDITEM): the
  // first row from start on whose Name begins with prefix, letters in any
  // case, wrapping round to the top when asked; -1 when none does.
  int findRow(const std::string& prefix, int start, bool wrap) const;
  // True while a sort puts the selection back on the rows it moved: the
  // item-changed notifications of that moment are no user's selection.
  bool restoringSelection() const { return restoring_; }

 private:
  friend class RowBatch;
  int rowCount() const { return rows_ != nullptr ? rows_->count() : 0; }
  void showRowCount() const;

  const GameRows* rows_ = nullptr;
  bool batching_ = false;
  bool restoring_ = false;
};

// A rebuild of the rows: the list's selection, which it keeps by position,
// is cleared at its start; while it lives the rows change without the list
// being told, and at its end the list learns the new count, shows its first
// row and redraws once.
class RowBatch {
 public:
  explicit RowBatch(ListViewControl& list);
  ~RowBatch();
  RowBatch(const RowBatch&) = delete;
  RowBatch& operator=(const RowBatch&) = delete;

 private:
  ListViewControl& list_;
};

}  // namespace morvane::ui
