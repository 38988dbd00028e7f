// The column-header toggle: which way a click on a header sorts. Its two
// values live as long as the program and belong to no window.
#pragma once

#include <cstdint>

namespace morvane {

struct SortDirection {
  int32_t column;
  bool ascending;
};

// Applies a click on the header of column and answers how to sort: a second
// click on the column last sorted ascending sorts it descending; anything
// else sorts ascending.
SortDirection toggleSort(int32_t column);

// Back to the start values (ascending, column 0).
void resetSortToggle();

}  // namespace morvane
