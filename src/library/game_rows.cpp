#include "library/game_rows.h"

#include <algorithm>

#include "library/list_presentation.h"
#include "library/sorting.h"

namespace morvane {

void GameRows::fill(const std::string& filterText) {
  indices_.clear();
  const int32_t count = store_.getSize();
  indices_.reserve(static_cast<std::size_t>(count));
  // The filter's upper-case form once for the whole refill.
  const std::string upperFilter = codePage_.toUpper(filterText);
  for (int32_t i = 0; i < count; ++i) {
    if (filterText.empty() || holdsUpperCase(store_.at(i), upperFilter, codePage_))
      indices_.push_back(i);
  }
}

void GameRows::sort(int column, bool ascending) {
  if (column != kColumnName) {
    sortStoreIndices(indices_, store_, codePage_, column, ascending);
    return;
  }
  const auto count = static_cast<std::size_t>(store_.getSize());
  if (!nameKeys_ || nameKeys_->entries() != count) {
    std::vector<int32_t> every(count);
    for (std::size_t i = 0; i < count; ++i) every[i] = static_cast<int32_t>(i);
    nameKeys_.emplace(every, store_, kColumnName, codePage_);
  }
  sortStoreIndices(indices_, *nameKeys_, ascending);
}

int32_t GameRows::storeIndex(int row) const {
  if (row < 0 || row >= count()) return -1;
  return indices_[static_cast<std::size_t>(row)];
}

int GameRows::rowOf(int32_t storeIndex) const {
  const auto found = std::find(indices_.begin(), indices_.end(), storeIndex);
  return found == indices_.end() ? -1 : static_cast<int>(found - indices_.begin());
}

std::string GameRows::cellText(int row, int column) const {
  if (storeIndex(row) < 0) return std::string();
  const GameEntry& shown = entry(row);
  switch (column) {
    case kColumnName:
      return shown.fileName;
    case kColumnPov:
      return povCellText(shown, playerNameTable_, codePage_);
    case kColumnMap:
      return mapCellText(shown, codePage_);
    case kColumnModified:
      return formatModified(shown.modified);
    default:
      return std::string();
  }
}

}  // namespace morvane
