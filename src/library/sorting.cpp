#include "library/sorting.h"

#include "library/list_presentation.h"

namespace morvane {

namespace {

// The key by reference where the entry holds it, so a comparison copies no
// more than the Modified text.
const std::string& keyOf(const GameEntry& entry, intptr_t column, std::string& scratch) {
  switch (column) {
    case kColumnName:
      return entry.fileName;
    case kColumnPov:
      return entry.povName;
    case kColumnMap:
      return entry.mapName;
    case kColumnModified:
      scratch = formatModified(entry.modified);
      return scratch;
    default:
      scratch.clear();
      return scratch;
  }
}

}  // namespace

std::string sortKey(const GameEntry& entry, intptr_t column) {
  std::string scratch;
  return keyOf(entry, column, scratch);
}

int compareAscending(const GameEntryArray& store, const platform::CodePage& codePage,
                     intptr_t first, intptr_t second, intptr_t column) {
  const GameEntry& a = store.at(static_cast<int32_t>(first));
  const GameEntry& b = store.at(static_cast<int32_t>(second));
  if (a.isFolder() != b.isFolder()) return a.isFolder() ? -1 : 1;
  std::string scratchA;
  std::string scratchB;
  const std::string& keyA = keyOf(a, column, scratchA);
  const std::string& keyB = keyOf(b, column, scratchB);
  if (keyA.empty() != keyB.empty()) return keyA.empty() ? 1 : -1;
  const int collated = codePage.collate(keyA, keyB);
  if (collated >= -1 && collated <= 1) return collated;
  return codePage.compareBytes(keyA, keyB);
}

int compareDescending(const GameEntryArray& store, const platform::CodePage& codePage,
                      intptr_t first, intptr_t second, intptr_t column) {
  return compareAscending(store, codePage, second, first, column);
}

void sortRows(ListControl& list, const GameEntryArray& store, const platform::CodePage& codePage,
              intptr_t column, bool ascending) {
  if (ascending) {
    list.sortItems([&](intptr_t a, intptr_t b,
                       intptr_t c) { return compareAscending(store, codePage, a, b, c); },
                   column);
  } else {
    list.sortItems([&](intptr_t a, intptr_t b,
                       intptr_t c) { return compareDescending(store, codePage, a, b, c); },
                   column);
  }
}

}  // namespace morvane
