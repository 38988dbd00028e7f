#include "library/sorting.h"

#include <algorithm>

#include "library/game_rows.h"
#include "library/list_presentation.h"

namespace morvane {
namespace {

// Every entry's key for one column, side by side, computed once per entry:
// a sort's n log n comparisons then compare bytes in one compact table
// instead of asking the collation each time (the costly step, and under
// Wine a slow one) and reading records far apart in memory. Indexed by store
// index; nothing writes the store during a sort.
class SortKeys {
 public:
  SortKeys(const GameEntryArray& store, int column, const platform::CodePage& codePage)
      : codePage_(codePage) {
    const auto count = static_cast<std::size_t>(store.getSize());
    rows_.reserve(count);
    std::string scratch;
    std::string collationKey;
    for (std::size_t i = 0; i < count; ++i) {
      const RowKey key = rowKey(store.at(static_cast<int32_t>(i)), column, scratch);
      Row row;
      row.folder = key.folder;
      row.empty = key.text.empty();
      row.collated = !row.empty && codePage.sortKey(key.text, collationKey);
      if (row.collated) {
        row.keyStart = keys_.size();
        keys_ += collationKey;
        row.keyEnd = keys_.size();
      }
      // The text too, for the byte-wise order against a refused one.
      row.textStart = texts_.size();
      texts_ += key.text;
      row.textEnd = texts_.size();
      rows_.push_back(row);
    }
  }

  // As compareAscending orders the two entries' keys.
  int compare(int32_t first, int32_t second) const {
    const Row& a = rows_[static_cast<std::size_t>(first)];
    const Row& b = rows_[static_cast<std::size_t>(second)];
    if (a.folder != b.folder) return a.folder ? -1 : 1;
    if (a.empty != b.empty) return a.empty ? 1 : -1;
    if (a.empty) return 0;
    if (a.collated && b.collated) {
      const int order = keyOf(a).compare(keyOf(b));
      return order < 0 ? -1 : order > 0 ? 1 : 0;
    }
    // Text the collation refuses is ordered byte-wise against any other.
    return codePage_.compareBytes(textOf(a), textOf(b));
  }

 private:
  struct Row {
    bool folder = false;
    bool empty = false;
    bool collated = false;
    std::size_t keyStart = 0, keyEnd = 0;
    std::size_t textStart = 0, textEnd = 0;
  };

  std::string_view keyOf(const Row& row) const {
    return std::string_view(keys_).substr(row.keyStart, row.keyEnd - row.keyStart);
  }
  std::string_view textOf(const Row& row) const {
    return std::string_view(texts_).substr(row.textStart, row.textEnd - row.textStart);
  }

  const platform::CodePage& codePage_;
  std::vector<Row> rows_;
  std::string keys_;
  std::string texts_;
};

}  // namespace

RowKey rowKey(const GameEntry& entry, int column, std::string& scratch) {
  RowKey key;
  key.folder = entry.isFolder();
  switch (column) {
    case kColumnName:
      key.text = entry.fileName;
      break;
    case kColumnPov:
      key.text = entry.povName;
      break;
    case kColumnMap:
      key.text = entry.mapName;
      break;
    case kColumnModified:
      scratch = formatModified(entry.modified);
      key.text = scratch;
      break;
    default:
      break;
  }
  return key;
}

int compareAscending(const RowKey& a, const RowKey& b, const platform::CodePage& codePage) {
  if (a.folder != b.folder) return a.folder ? -1 : 1;
  if (a.text.empty() != b.text.empty()) return a.text.empty() ? 1 : -1;
  // Equal bytes collate equal, and the byte-wise fallback agrees; many rows
  // share a map, a player or a minute, and collation is the costly step.
  if (a.text == b.text) return 0;
  const int collated = codePage.collate(a.text, b.text);
  if (collated >= -1 && collated <= 1) return collated;
  return codePage.compareBytes(a.text, b.text);
}

void sortStoreIndices(std::vector<int32_t>& indices, const GameEntryArray& store,
                      const platform::CodePage& codePage, int column, bool ascending) {
  const SortKeys keys(store, column, codePage);
  std::stable_sort(indices.begin(), indices.end(), [&](int32_t first, int32_t second) {
    return (ascending ? keys.compare(first, second) : keys.compare(second, first)) < 0;
  });
}

}  // namespace morvane
