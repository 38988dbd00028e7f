#include "library/sorting.h"

#include <algorithm>
#include <unordered_map>

#include "library/game_rows.h"
#include "library/list_presentation.h"

namespace morvane {

SortKeys::SortKeys(const std::vector<int32_t>& indices, const GameEntryArray& store, int column,
                   const platform::CodePage& codePage)
    : codePage_(codePage) {
  rows_.resize(static_cast<std::size_t>(store.getSize()));
  std::string scratch;
  std::string collationKey;
  // Names are unique in a folder; the other columns repeat a few values
  // (a map, a player, a minute), whose keys are made once.
  // The last text's row first: equal values often stand together.
  std::unordered_map<std::string, Row> made;
  const bool repeats = column != kColumnName;
  std::string lastText;
  const Row* last = nullptr;
  for (const int32_t index : indices) {
    const RowKey key = rowKey(store.at(index), column, codePage, scratch);
    Row& row = rows_[static_cast<std::size_t>(index)];
    row.folder = key.folder;
    row.empty = key.text.empty();
    if (repeats && last != nullptr && key.text == lastText) {
      row.collated = last->collated;
      row.keyStart = last->keyStart;
      row.keyEnd = last->keyEnd;
      row.textStart = last->textStart;
      row.textEnd = last->textEnd;
      last = &row;
      continue;
    }
    const auto earlier = repeats ? made.find(std::string(key.text)) : made.end();
    if (earlier != made.end()) {
      row.collated = earlier->second.collated;
      row.keyStart = earlier->second.keyStart;
      row.keyEnd = earlier->second.keyEnd;
    } else if (!row.empty && codePage.sortKey(key.text, collationKey)) {
      row.collated = true;
      row.keyStart = keys_.size();
      keys_ += collationKey;
      row.keyEnd = keys_.size();
    }
    if (repeats && earlier == made.end()) made.emplace(key.text, row);
    // The text too, for the byte-wise order against a refused one.
    row.textStart = texts_.size();
    texts_ += key.text;
    row.textEnd = texts_.size();
    if (repeats) {
      lastText.assign(key.text);
      last = &row;
    }
  }
}

int SortKeys::compare(int32_t first, int32_t second) const {
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

RowKey rowKey(const GameEntry& entry, int column, const platform::CodePage& codePage,
              std::string& scratch) {
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
      scratch = mapCellText(entry, codePage);
      key.text = scratch;
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
  sortStoreIndices(indices, SortKeys(indices, store, column, codePage), ascending);
}

void sortStoreIndices(std::vector<int32_t>& indices, const SortKeys& keys, bool ascending) {
  std::stable_sort(indices.begin(), indices.end(), [&](int32_t first, int32_t second) {
    return (ascending ? keys.compare(first, second) : keys.compare(second, first)) < 0;
  });
}

}  // namespace morvane
