// The list's rows: store indices in view order. The list view asks for a
// row's cells and gets them formatted from the entry the row shows; nothing
// of an entry is copied into the list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/game_entry_array.h"
#include "library/name_table.h"
#include "library/sorting.h"
#include "platform/code_page.h"

namespace morvane {

// The report's columns, left to right; sorting takes the same numbers.
enum ListColumn : int32_t { kColumnName, kColumnPov, kColumnMap, kColumnModified };
inline constexpr int kColumns = kColumnModified + 1;

class GameRows {
 public:
  GameRows(const GameEntryArray& store, const NameTable& playerNameTable,
           const platform::CodePage& codePage)
      : store_(store), playerNameTable_(playerNameTable), codePage_(codePage) {}

  // One row per entry that passes the filter, in store order.
  void fill(const std::string& filterText);
  // Rows in the order of column, ascending or descending.
  void sort(int column, bool ascending);
  // The store holds other entries now: the names' sort keys are made anew.
  void forgetSortKeys() { nameKeys_.reset(); }

  int count() const { return static_cast<int>(indices_.size()); }
  // The store index a row shows, or -1 for a row the list does not have.
  int32_t storeIndex(int row) const;
  // The row showing a store index, or -1 when it is filtered out.
  int rowOf(int32_t storeIndex) const;
  // The entry a row shows; the row must exist.
  const GameEntry& entry(int row) const { return store_.at(storeIndex(row)); }
  // A row's cell as the list shows it; empty for a row or column it lacks.
  std::string cellText(int row, int column) const;

 private:
  const GameEntryArray& store_;
  const NameTable& playerNameTable_;
  const platform::CodePage& codePage_;
  std::vector<int32_t> indices_;
  // Made by a listing's first sort by name and kept for the filter's and
  // the header's: names do not change while the store holds them.
  std::optional<SortKeys> nameKeys_;
};

}  // namespace morvane
