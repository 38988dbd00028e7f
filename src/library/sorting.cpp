#include "library/sorting.h"

#include <algorithm>

#include "library/game_rows.h"
#include "library/list_presentation.h"

namespace morvane {
namespace {

// Every entry's key for one column, side by side: a sort's n log n
// comparisons then read one compact table instead of records far apart in
// memory, and the Modified text is formatted once per entry, not per
// comparison. Indexed by store index; nothing writes the store during a sort.
class SortKeys {
 public:
  SortKeys(const GameEntryArray& store, int column) {
    const int32_t count = store.getSize();
    ends.reserve(static_cast<std::size_t>(count));
    folders.reserve(static_cast<std::size_t>(count));
    std::string scratch;
    for (int32_t i = 0; i < count; ++i) {
      const RowKey key = rowKey(store.at(i), column, scratch);
      text += key.text;
      ends.push_back(text.size());
      folders.push_back(key.folder);
    }
  }

  RowKey key(int32_t index) const {
    const auto i = static_cast<std::size_t>(index);
    const std::size_t start = i == 0 ? 0 : ends[i - 1];
    return RowKey{folders[i], std::string_view(text).substr(start, ends[i] - start)};
  }

 private:
  std::string text;
  std::vector<std::size_t> ends;
  std::vector<bool> folders;
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
  const SortKeys keys(store, column);
  std::stable_sort(indices.begin(), indices.end(), [&](int32_t first, int32_t second) {
    const RowKey a = keys.key(first);
    const RowKey b = keys.key(second);
    return (ascending ? compareAscending(a, b, codePage) : compareDescending(a, b, codePage)) < 0;
  });
}

}  // namespace morvane
