#include "library/folder_scan.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "library/sort_toggle.h"
#include "library_fixture.h"
#include "platform/folder_listing.h"
#include "recording_writer/temp_folder.h"

namespace morvane::fixtures {
namespace {

namespace fs = std::filesystem;

class FolderScanTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    ASSERT_TRUE(folder.ok());
  }
  void touch(const std::string& name) { std::ofstream(folder.file(name)) << "x"; }
  void makeFolder(const std::string& name) { fs::create_directory(folder.file(name)); }
  void scan() { scanFolder(folder.path(), context()); }
  // The path the scan passes to the icon source for an item.
  std::string itemPath(const std::string& name) const { return joinPath(folder.path(), name); }

  TempFolder folder;
};

TEST_F(FolderScanTest, ListsOnlyFoldersAndExactMgxFiles) {
  for (const char* name : {"a.mgx", "B.MGX", "c.mgl", "notes.txt", "d.Mgx", "mgx", ".mgx"}) {
    touch(name);
  }
  scan();
  EXPECT_EQ(rowNames(), (std::vector<std::string>{".mgx", "a.mgx"}));
  EXPECT_EQ(store.getSize(), 2);
}

TEST_F(FolderScanTest, EveryEditionAddsTheLaterExtensionsInAnyCase) {
  for (const char* name : {"a.mgx", "B.MGX", "c.mgl", "d.Mgz", "e.mgx2", "f.AOE2RECORD", "g.msx",
                           "notes.txt", "h.mgx2.bak", "aoe2record"}) {
    touch(name);
  }
  scanFolder(folder.path(), context(), ListedKinds::kEveryEdition);
  EXPECT_EQ(rowNames(), (std::vector<std::string>{"a.mgx", "B.MGX", "c.mgl", "d.Mgz", "e.mgx2",
                                                  "f.AOE2RECORD", "g.msx"}));
}

// A listing without a recording, in a folder holding other editions', says
// how many there are and how to show them; nothing else of it changes.
TEST_F(FolderScanTest, OtherEditionsLeftOutOfAnEmptyListingAreNamed) {
  for (const char* name : {"a.aoe2record", "b.MGZ", "notes.txt"}) touch(name);
  makeFolder("sub");
  EXPECT_EQ(scanFolder(folder.path(), context()), 2);
  EXPECT_EQ(rowNames(), (std::vector<std::string>{"sub"}));
  const std::string note = leftOutRecordingsNote(store, 2);
  EXPECT_NE(note.find(u8"録画が 2 件"), std::string::npos) << note;
  EXPECT_NE(note.find(u8"「すべての録画を表示(A)」"), std::string::npos) << note;
  EXPECT_EQ(scanFolder(folder.path(), context(), ListedKinds::kEveryEdition), 0);
  EXPECT_EQ(leftOutRecordingsNote(store, 0), "");
  touch("c.mgx");
  EXPECT_EQ(scanFolder(folder.path(), context()), 2);
  EXPECT_EQ(leftOutRecordingsNote(store, 2), "") << "a recording is listed";
}

// The names' sort keys are kept between sorts of one listing; a rescan that
// finds as many entries under other names must not sort by the old ones.
TEST_F(FolderScanTest, ARescanSortsItsOwnNamesWhateverTheirCount) {
  touch("b.mgx");
  touch("c.mgx");
  scan();
  fs::remove(folder.file("c.mgx"));
  touch("a.mgx");
  scan();
  EXPECT_EQ(rowNames(), (std::vector<std::string>{"a.mgx", "b.mgx"}));
}

TEST_F(FolderScanTest, FolderNamedLikeAGameIsAFolderRow) {
  makeFolder("old.mgx");
  touch("new.mgx");
  scan();
  ASSERT_EQ(rows->count(), 2);
  EXPECT_EQ(rowNames(), (std::vector<std::string>{"old.mgx", "new.mgx"}));
  EXPECT_TRUE(store.at(static_cast<int32_t>(rows->storeIndex(0))).isFolder());
}

TEST_F(FolderScanTest, DotEntriesAreNotListed) {
  makeFolder("sub");
  scan();
  EXPECT_EQ(rowNames(), (std::vector<std::string>{"sub"}));
}

TEST_F(FolderScanTest, EmptyFolderGivesNoRowsAndNoImages) {
  touch("readme.txt");
  scan();
  EXPECT_EQ(rows->count(), 0);
  EXPECT_EQ(store.getSize(), 0);
  EXPECT_TRUE(icons.images.empty());
  EXPECT_EQ(icons.clears, 1);
}

TEST_F(FolderScanTest, OnlyFoldersShareOneImageAtIndexZero) {
  for (const char* name : {"one", "two", "three"}) makeFolder(name);
  scan();
  ASSERT_EQ(icons.images.size(), 1u);
  for (int i = 0; i < rows->count(); ++i) EXPECT_EQ(rows->entry(i).iconIndex, 0);
}

TEST_F(FolderScanTest, TheKindListedFirstGetsImageZero) {
  makeFolder("sub1");
  makeFolder("sub2");
  touch("g1.mgx");
  touch("g2.mgx");
  // Which kind comes first depends on the file system's own order.
  bool folderFirst = false;
  for (const platform::FolderItem& item : platform::listFolder(folder.path() + "\\")) {
    if (item.name == "." || item.name == "..") continue;
    if (item.name == "sub1" || item.name == "sub2" || item.name == "g1.mgx" ||
        item.name == "g2.mgx") {
      folderFirst = item.isFolder();
      break;
    }
  }
  scan();
  ASSERT_EQ(icons.images.size(), 2u);
  EXPECT_EQ(icons.requests.size(), 2u);
  for (int32_t i = 0; i < store.getSize(); ++i) {
    const GameEntry& entry = store.at(i);
    EXPECT_EQ(entry.iconIndex, entry.isFolder() == folderFirst ? 0 : 1) << entry.fileName;
  }
}

TEST_F(FolderScanTest, IconsAreAskedForByFullPath) {
  touch("g.mgx");
  scan();
  ASSERT_EQ(icons.requests.size(), 1u);
  EXPECT_EQ(icons.requests[0], itemPath("g.mgx"));
}

TEST_F(FolderScanTest, FailedIconIsRetriedByTheNextItemOfItsKind) {
  touch("g1.mgx");
  touch("g2.mgx");
  icons.refuse = 1;
  scan();
  ASSERT_EQ(store.getSize(), 2);
  EXPECT_EQ(icons.requests.size(), 2u);
  // The store order is the listing order: the first game got no icon.
  EXPECT_EQ(store.at(0).iconIndex, -1);
  EXPECT_EQ(store.at(1).iconIndex, 0);
}

TEST_F(FolderScanTest, TrailingBackslashOrNotListsTheSame) {
  touch("a.mgx");
  makeFolder("sub");
  std::string path = folder.path();
  scanFolder(path, context());
  const std::vector<std::string> without = rowNames();
  const std::vector<std::string> requestsWithout = icons.requests;
  icons.requests.clear();
  scanFolder(path + "\\", context());
  EXPECT_EQ(rowNames(), without);
  EXPECT_EQ(icons.requests, requestsWithout);
  EXPECT_EQ(without.size(), 2u);
}

TEST_F(FolderScanTest, EntriesCarryNameAttributesAndTimeOnly) {
  touch("a.mgx");
  scan();
  ASSERT_EQ(store.getSize(), 1);
  const GameEntry& entry = store.at(0);
  EXPECT_EQ(entry.fileName, "a.mgx");
  EXPECT_FALSE(entry.isFolder());
  EXPECT_GE(entry.modified.year, 2020);
  EXPECT_TRUE(entry.mapName.empty());
  EXPECT_EQ(entry.povIndex, 0);
  // The time the file system reports for the file, in the Modified cell.
  platform::EntryTime written;
  for (const auto& item : platform::listFolder(folder.path() + "/")) {
    if (item.name == "a.mgx") written = item.lastWrite;
  }
  ASSERT_GE(written.year, 2020);
  char expected[32];
  std::snprintf(expected, sizeof expected, "%04u/%02u/%02u %2u:%02u", unsigned{written.year},
                unsigned{written.month}, unsigned{written.day}, unsigned{written.hour},
                unsigned{written.minute});
  EXPECT_EQ(rows->cellText(0, kColumnModified), expected);
}

TEST_F(FolderScanTest, RescanDiscardsParsedResults) {
  touch("a.mgx");
  scan();
  GameEntry parsed = store.getAt(0);
  parsed.mapName = "Arabia";
  parsed.povName = "Hero";
  store.setAt(0, parsed);
  ASSERT_EQ(rows->cellText(0, kColumnMap), "Arabia");
  scan();
  EXPECT_TRUE(store.at(0).mapName.empty());
  EXPECT_EQ(rows->cellText(0, 2), "");
  EXPECT_EQ(icons.clears, 2);
  EXPECT_EQ(icons.images.size(), 1u);
}

TEST_F(FolderScanTest, MissingFolderEmptiesTheListing) {
  touch("a.mgx");
  scan();
  ASSERT_EQ(rows->count(), 1);
  scanFolder(folder.file("missing"), context());
  EXPECT_EQ(rows->count(), 0);
  EXPECT_EQ(store.getSize(), 0);
}

TEST_F(FolderScanTest, FilterTextAppliesAndToggleIsUntouched) {
  touch("keep.mgx");
  touch("drop.mgx");
  filterText = "KEEP";
  resetSortToggle();
  scan();
  EXPECT_EQ(rowNames(), (std::vector<std::string>{"keep.mgx"}));
  // The scan's own sort left the toggle at its start: Name sorts descending.
  EXPECT_FALSE(toggleSort(0).ascending);
  resetSortToggle();
}

TEST_F(FolderScanTest, RowsEndAscendingByName) {
  for (const char* name : {"c.mgx", "B.mgx", "a.mgx", "game9.mgx", "game10.mgx"}) touch(name);
  makeFolder("zdir");
  scan();
  EXPECT_EQ(rowNames(), (std::vector<std::string>{"zdir", "a.mgx", "B.mgx", "c.mgx", "game10.mgx",
                                                  "game9.mgx"}));
}

}  // namespace
}  // namespace morvane::fixtures
