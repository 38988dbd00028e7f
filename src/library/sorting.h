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

// The key of an entry for a column. The Modified text is formatted into
// scratch, which must outlive the key.
RowKey rowKey(const GameEntry& entry, int column, std::string& scratch);

// The comparison rows are sorted by: negative when a goes first, positive
// when b does, 0 when equal. Descending is the same with a and b swapped, so
// every rule turns round, folders and empty keys included.
int compareAscending(const RowKey& a, const RowKey& b, const platform::CodePage& codePage);
inline int compareDescending(const RowKey& a, const RowKey& b, const platform::CodePage& codePage) {
  return compareAscending(b, a, codePage);
}

// Orders store indices by column in the given direction (stable).
void sortStoreIndices(std::vector<int32_t>& indices, const GameEntryArray& store,
                      const platform::CodePage& codePage, int column, bool ascending);

}  // namespace morvane
