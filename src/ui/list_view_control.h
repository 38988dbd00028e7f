// The game list as a real report list view, behind the listing's
// ListControl interface. Texts are ANSI code page bytes.
//
// The list view holds no rows of its own (it has the owner-data style): the
// rows live here and the list asks for the cells of the rows it shows. Filling
// and sorting 200,000 rows then costs what the rows cost, not a window
// message and an allocation in the control for every cell, nor a sort that
// calls back across the control for each comparison.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "library/list_control.h"
#include "library/row_model.h"
#include "ui/control.h"

namespace morvane::ui {

class ListViewControl : public ListControl, public Control {
 public:
  void deleteAllItems() override;
  int insertItem(int position, const std::string& name) override;
  void setItemImage(int row, int image) override;
  void setItemText(int row, int column, const std::string& text) override;
  void setItemData(int row, intptr_t data) override;
  // -1 for a row the list does not have.
  intptr_t getItemData(int row) const override;
  int getItemCount() const override;
  std::string getItemText(int row, int column) const override;
  void sortItems(const RowComparison& compare, intptr_t parameter) override;

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
  void showRowCount() const;
  void redrawRow(int row) const;

  RowModel rows_;
  bool batching_ = false;
  bool restoring_ = false;
};

// While it lives, rows change without the list being told row by row; at its
// end the list learns the new count and redraws once.
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
