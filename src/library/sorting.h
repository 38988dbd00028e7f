// Row order by column: folders first, empty keys last, locale collation with
// a byte-wise fallback.
#pragma once

#include <cstdint>
#include <string>

#include "library/game_entry_array.h"
#include "library/list_control.h"
#include "platform/code_page.h"

namespace morvane {

// The sort key of an entry for a column; empty for an unknown column.
std::string sortKey(const GameEntry& entry, intptr_t column);

// first and second are store indices (the rows' item data).
int compareAscending(const GameEntryArray& store, const platform::CodePage& codePage,
                     intptr_t first, intptr_t second, intptr_t column);
int compareDescending(const GameEntryArray& store, const platform::CodePage& codePage,
                      intptr_t first, intptr_t second, intptr_t column);

// Sorts the list's rows by column in the given direction.
void sortRows(ListControl& list, const GameEntryArray& store, const platform::CodePage& codePage,
              intptr_t column, bool ascending);

}  // namespace morvane
