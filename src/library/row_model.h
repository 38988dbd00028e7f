// An in-memory ListControl: what a list view would hold, without a window.
#pragma once

#include <array>
#include <deque>
#include <string>

#include "library/list_control.h"

namespace morvane {

class RowModel : public ListControl {
 public:
  struct Row {
    std::array<std::string, kColumns> cells;
    int image = 0;
    intptr_t data = 0;
  };

  void deleteAllItems() override { rows_.clear(); }
  int insertItem(int position, const std::string& name) override;
  void setItemImage(int row, int image) override;
  void setItemText(int row, int column, const std::string& text) override;
  void setItemData(int row, intptr_t data) override;
  intptr_t getItemData(int row) const override;
  int getItemCount() const override { return static_cast<int>(rows_.size()); }
  std::string getItemText(int row, int column) const override;
  void sortItems(const RowComparison& compare, intptr_t parameter) override;

  // Row by position; the position must be valid.
  const Row& row(int position) const { return rows_[static_cast<std::size_t>(position)]; }

 private:
  bool valid(int row) const { return row >= 0 && row < getItemCount(); }
  // Front insertion is the common case, so a deque keeps it O(1).
  std::deque<Row> rows_;
};

}  // namespace morvane
