#include "library/row_model.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

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
  // Sorting (item data, position) pairs and then moving each row once costs
  // far less than merging whole rows of four strings n log n times.
  std::vector<std::pair<intptr_t, std::size_t>> order;
  order.reserve(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) order.emplace_back(rows_[i].data, i);
  std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
    return compare(a.first, b.first, parameter) < 0;
  });
  // Row k takes the row from order[k].second: follow each cycle of that
  // permutation, marking the places filled.
  constexpr std::size_t kFilled = static_cast<std::size_t>(-1);
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (order[start].second == kFilled) continue;
    Row held = std::move(rows_[start]);
    std::size_t place = start;
    while (order[place].second != start) {
      const std::size_t from = order[place].second;
      rows_[place] = std::move(rows_[from]);
      order[place].second = kFilled;
      place = from;
    }
    rows_[place] = std::move(held);
    order[place].second = kFilled;
  }
}

}  // namespace morvane
