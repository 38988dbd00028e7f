// The game list as a real report list view, behind the listing's
// ListControl interface. Texts are ANSI code page bytes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "library/list_control.h"
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
};

// While it lives, new rows go where they are asked instead of being placed by
// their Name text: the list's own sorted insertion costs a scan of every row
// per insert, and the rows are sorted right after filling anyway.
class UnsortedInsertion {
 public:
  explicit UnsortedInsertion(const ListViewControl& list);
  ~UnsortedInsertion();
  UnsortedInsertion(const UnsortedInsertion&) = delete;
  UnsortedInsertion& operator=(const UnsortedInsertion&) = delete;

 private:
  HWND list_;
  LONG_PTR style_;
};

}  // namespace morvane::ui
