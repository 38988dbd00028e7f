// Row order by column: folders first, empty keys last, locale collation with
// a byte-wise fallback.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/game_entry_array.h"
#include "platform/code_page.h"

namespace morvane {

// What a row is ordered by in one column.
struct RowKey {
  bool folder = false;
  std::string_view text;  // empty for an unknown column
};

// The key of an entry for a column, as the list in codePage shows it. The Map
// and Modified texts are formatted into scratch, which must outlive the key.
RowKey rowKey(const GameEntry& entry, int column, const platform::CodePage& codePage,
              std::string& scratch);

// The comparison rows are sorted by: negative when a goes first, positive
// when b does, 0 when equal. Descending is the same with a and b swapped, so
// every rule turns round, folders and empty keys included.
int compareAscending(const RowKey& a, const RowKey& b, const platform::CodePage& codePage);
inline int compareDescending(const RowKey& a, const RowKey& b, const platform::CodePage& codePage) {
  return compareAscending(b, a, codePage);
}

// Every entry's key for one column, side by side, computed once per entry:
// a sort's n log n comparisons then compare bytes in one compact table
// instead of asking the collation each time (the costly step, and under
// Wine a slow one) and reading records far apart in memory. Indexed by store
// index; the keys hold while the entries' texts for the column do.
class SortKeys {
 public:
  // Keys of the entries the indices name: a filtered list pays for its rows.
  SortKeys(const std::vector<int32_t>& indices, const GameEntryArray& store, int column,
           const platform::CodePage& codePage);

  // As compareAscending orders the two entries' keys.
  int compare(int32_t first, int32_t second) const;
  // The store's size when they were made.
  std::size_t entries() const { return rows_.size(); }

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
  // The text too, for the byte-wise order against a refused one.
  std::string_view textOf(const Row& row) const {
    return std::string_view(texts_).substr(row.textStart, row.textEnd - row.textStart);
  }

  const platform::CodePage& codePage_;
  std::vector<Row> rows_;
  std::string keys_;
  std::string texts_;
};

// Orders store indices by column in the given direction (stable).
void sortStoreIndices(std::vector<int32_t>& indices, const GameEntryArray& store,
                      const platform::CodePage& codePage, int column, bool ascending);
// The same by keys made before, for entries they hold.
void sortStoreIndices(std::vector<int32_t>& indices, const SortKeys& keys, bool ascending);

}  // namespace morvane
