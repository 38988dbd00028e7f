#include "library/sorting.h"

#include <string_view>
#include <vector>

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

// Folders first, then keys in collation order, empty keys last.
int compareKeys(const platform::CodePage& codePage, bool folderA, std::string_view keyA,
                bool folderB, std::string_view keyB) {
  if (folderA != folderB) return folderA ? -1 : 1;
  if (keyA.empty() != keyB.empty()) return keyA.empty() ? 1 : -1;
  // Equal bytes collate equal, and the byte-wise fallback agrees; many rows
  // share a map, a player or a minute, and collation is the costly step.
  if (keyA == keyB) return 0;
  const int collated = codePage.collate(keyA, keyB);
  if (collated >= -1 && collated <= 1) return collated;
  return codePage.compareBytes(keyA, keyB);
}

// Every entry's key for one column, side by side: a sort's n log n
// comparisons then read one compact table instead of records far apart in
// memory, and the Modified text is formatted once per entry, not per
// comparison. Indexed by store index; nothing writes the store during a sort.
class SortKeys {
 public:
  SortKeys(const GameEntryArray& store, intptr_t column) {
    const int32_t count = store.getSize();
    ends.reserve(static_cast<std::size_t>(count));
    folders.reserve(static_cast<std::size_t>(count));
    std::string scratch;
    for (int32_t i = 0; i < count; ++i) {
      const GameEntry& entry = store.at(i);
      text += keyOf(entry, column, scratch);
      ends.push_back(text.size());
      folders.push_back(entry.isFolder());
    }
  }

  bool isFolder(intptr_t index) const { return folders[static_cast<std::size_t>(index)]; }
  std::string_view key(intptr_t index) const {
    const auto i = static_cast<std::size_t>(index);
    const std::size_t start = i == 0 ? 0 : ends[i - 1];
    return std::string_view(text).substr(start, ends[i] - start);
  }

 private:
  std::string text;
  std::vector<std::size_t> ends;
  std::vector<bool> folders;
};

}  // namespace

std::string sortKey(const GameEntry& entry, intptr_t column) {
  std::string scratch;
  return keyOf(entry, column, scratch);
}

int compareAscending(const GameEntryArray& store, const platform::CodePage& codePage,
                     intptr_t first, intptr_t second, intptr_t column) {
  const GameEntry& a = store.at(static_cast<int32_t>(first));
  const GameEntry& b = store.at(static_cast<int32_t>(second));
  std::string scratchA;
  std::string scratchB;
  return compareKeys(codePage, a.isFolder(), keyOf(a, column, scratchA), b.isFolder(),
                     keyOf(b, column, scratchB));
}

int compareDescending(const GameEntryArray& store, const platform::CodePage& codePage,
                      intptr_t first, intptr_t second, intptr_t column) {
  return compareAscending(store, codePage, second, first, column);
}

void sortRows(ListControl& list, const GameEntryArray& store, const platform::CodePage& codePage,
              intptr_t column, bool ascending) {
  const SortKeys keys(store, column);
  const auto compare = [&](intptr_t first, intptr_t second) {
    return compareKeys(codePage, keys.isFolder(first), keys.key(first), keys.isFolder(second),
                       keys.key(second));
  };
  if (ascending) {
    list.sortItems([&](intptr_t a, intptr_t b, intptr_t) { return compare(a, b); }, column);
  } else {
    list.sortItems([&](intptr_t a, intptr_t b, intptr_t) { return compare(b, a); }, column);
  }
}

}  // namespace morvane
