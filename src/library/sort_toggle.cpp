#include "library/sort_toggle.h"

namespace morvane {
namespace {

// The two program-wide values of the header toggle.
bool sortAscending = true;
int32_t lastSortColumn = 0;

}  // namespace

SortDirection toggleSort(int32_t column) {
  SortDirection direction{column, true};
  if (sortAscending && lastSortColumn == column) direction.ascending = false;
  sortAscending = direction.ascending;
  lastSortColumn = column;
  return direction;
}

void resetSortToggle() {
  sortAscending = true;
  lastSortColumn = 0;
}

}  // namespace morvane
