// Shared pieces of the library tests: entries by kind, a counting icon source
// and a store with its list and collaborators wired together.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/game_entry_array.h"
#include "library/game_rows.h"
#include "library/icon_source.h"
#include "library/listing_context.h"
#include "platform/code_page.h"

namespace morvane::fixtures {

inline GameEntry fileEntry(const std::string& name, const std::string& mapName = "") {
  GameEntry entry;
  entry.fileName = name;
  entry.mapName = mapName;
  return entry;
}

inline GameEntry folderEntry(const std::string& name) {
  GameEntry entry;
  entry.fileName = name;
  entry.attributes = GameEntry::kFolderAttribute;
  return entry;
}

// Hands out indices 0, 1, ... unless told to refuse, and remembers the paths.
class FakeIcons : public IconSource {
 public:
  void clear() override {
    ++clears;
    images.clear();
  }
  int addIconFor(const std::string& fullPath) override {
    requests.push_back(fullPath);
    if (refuse > 0) {
      --refuse;
      return -1;
    }
    images.push_back(fullPath);
    return static_cast<int>(images.size()) - 1;
  }

  int clears = 0;
  int refuse = 0;  // how many of the next requests fail
  std::vector<std::string> images;
  std::vector<std::string> requests;
};

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codePage = platform::makeCodePage(932);
    ASSERT_NE(codePage, nullptr);
    rows.emplace(store, playerNameTable, *codePage);
  }
  ListingContext context() { return ListingContext{store, *rows, icons, filterText}; }
  void addAll(const std::vector<GameEntry>& entries) {
    for (const GameEntry& entry : entries) ASSERT_GE(store.add(entry), 0);
  }
  // Names of the rows from top to bottom.
  std::vector<std::string> rowNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < rows->count(); ++i) names.push_back(rows->cellText(i, kColumnName));
    return names;
  }

  std::unique_ptr<platform::CodePage> codePage;
  GameEntryArray store;
  FakeIcons icons;
  NameTable playerNameTable;
  std::string filterText;
  std::optional<GameRows> rows;  // made once the code page is
};

}  // namespace morvane::fixtures
