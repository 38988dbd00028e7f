#include "library/row_model.h"

#include <algorithm>
#include <iterator>

namespace morvane {

int RowModel::insertItem(int position, const std::string& name) {
  const int used = std::clamp(position, 0, getItemCount());
  Row row;
  row.cells[0] = name;
  rows_.insert(rows_.begin() + used, std::move(row));
  return used;
}

void RowModel::setItemImage(int row, int image) {
  if (valid(row)) rows_[static_cast<std::size_t>(row)].image = image;
}

void RowModel::setItemText(int row, int column, const std::string& text) {
  if (valid(row) && column >= 0 && column < kColumns) {
    rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = text;
  }
}

void RowModel::setItemData(int row, intptr_t data) {
  if (valid(row)) rows_[static_cast<std::size_t>(row)].data = data;
}

intptr_t RowModel::getItemData(int row) const {
  return valid(row) ? rows_[static_cast<std::size_t>(row)].data : 0;
}

std::string RowModel::getItemText(int row, int column) const {
  if (!valid(row) || column < 0 || column >= kColumns) return std::string();
  return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

void RowModel::sortItems(const RowComparison& compare, intptr_t parameter) {
  std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
    return compare(a.data, b.data, parameter) < 0;
  });
}

}  // namespace morvane
