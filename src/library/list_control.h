// The operations the listing needs from a report list: rows of four text
// cells (Name, POV, Map, Modified), an image and an item data value.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace morvane {

// Order of two rows given their item data and the sort parameter: negative
// when a goes first, positive when b does, 0 when equal.
using RowComparison = std::function<int(intptr_t a, intptr_t b, intptr_t parameter)>;

// The report's columns, left to right; sorting takes the same numbers.
enum ListColumn : int32_t { kColumnName, kColumnPov, kColumnMap, kColumnModified };

class ListControl {
 public:
  static constexpr int kColumns = kColumnModified + 1;

  virtual ~ListControl() = default;

  virtual void deleteAllItems() = 0;
  // New row with the Name text, requested at position; returns the position
  // the list used, or -1 when it refused the row.
  virtual int insertItem(int position, const std::string& name) = 0;
  virtual void setItemImage(int row, int image) = 0;
  // kColumnPov..kColumnModified (the Name is given at insertion).
  virtual void setItemText(int row, int column, const std::string& text) = 0;
  virtual void setItemData(int row, intptr_t data) = 0;
  virtual intptr_t getItemData(int row) const = 0;
  virtual int getItemCount() const = 0;
  virtual std::string getItemText(int row, int column) const = 0;
  // Reorders the rows; compare is called with the rows' item data.
  virtual void sortItems(const RowComparison& compare, intptr_t parameter) = 0;
};

}  // namespace morvane
