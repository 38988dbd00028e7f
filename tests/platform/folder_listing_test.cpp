#include "platform/folder_listing.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/executable_folder.h"
#include "platform/path.h"
#include "recording_writer/temp_folder.h"

namespace morvane::platform {
namespace {

namespace fs = std::filesystem;

class FolderListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    std::ofstream(folder.file("a.mgx")) << "x";
    std::ofstream(folder.file("notes.txt")) << "y";
    fs::create_directory(folder.file("sub"));
  }
  std::map<std::string, FolderItem> listByName(const std::string& path) {
    std::map<std::string, FolderItem> byName;
    for (const FolderItem& item : listFolder(path)) byName[item.name] = item;
    return byName;
  }
  std::string withBackslash() const { return folder.path() + "\\"; }

  fixtures::TempFolder folder;
};

TEST_F(FolderListingTest, ReportsEveryItemWithDotEntries) {
  const auto items = listByName(withBackslash());
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items.count("."), 1u);
  EXPECT_EQ(items.count(".."), 1u);
  EXPECT_EQ(items.count("notes.txt"), 1u);
}

TEST_F(FolderListingTest, FoldersCarryTheFolderBit) {
  const auto items = listByName(withBackslash());
  EXPECT_TRUE(items.at("sub").isFolder());
  EXPECT_TRUE(items.at(".").isFolder());
  EXPECT_FALSE(items.at("a.mgx").isFolder());
}

TEST_F(FolderListingTest, LastWriteTimeIsInUtc) {
  const std::time_t now = std::time(nullptr);
  std::tm utc = *std::gmtime(&now);
  const EntryTime written = listByName(withBackslash()).at("a.mgx").lastWrite;
  EXPECT_EQ(written.year, utc.tm_year + 1900);
  EXPECT_EQ(written.month, utc.tm_mon + 1);
  // Written seconds ago; allow for a test run across an hour boundary.
  const int minutesNow = utc.tm_mday * 1440 + utc.tm_hour * 60 + utc.tm_min;
  const int minutesWritten = written.day * 1440 + written.hour * 60 + written.minute;
  EXPECT_LE(minutesNow - minutesWritten, 5);
  EXPECT_GE(minutesNow - minutesWritten, 0);
}

TEST_F(FolderListingTest, MissingFolderListsNothing) {
  EXPECT_TRUE(listFolder(folder.file("missing") + "\\").empty());
  EXPECT_TRUE(listFolder(folder.file("a.mgx") + "\\").empty());
}

TEST(ExecutableFolderTest, IsAnExistingFolderEndingInASeparator) {
  const auto exeFolder = executableFolder();
  ASSERT_TRUE(exeFolder.has_value());
  ASSERT_FALSE(exeFolder->empty());
  const char last = exeFolder->back();
  EXPECT_TRUE(last == '\\' || last == '/');
  EXPECT_TRUE(fs::is_directory(*exeFolder));
}

TEST(PathTest, JoinsWithOneSeparatorAndSplitsOffTheLastName) {
  EXPECT_EQ(joinPath("C:\\games", "a.mgx"), "C:\\games\\a.mgx");
  EXPECT_EQ(joinPath("C:\\", "a.mgx"), "C:\\a.mgx");
  EXPECT_EQ(joinPath("", "a.mgx"), "\\a.mgx");
  EXPECT_EQ(joinPath("dir/", "a", '/'), "dir/a");
  EXPECT_EQ(parentFolder("C:\\games\\old"), "C:\\games");
  EXPECT_EQ(parentFolder("C:\\games\\"), "C:");
  EXPECT_EQ(parentFolder("C:"), std::nullopt);
  EXPECT_EQ(parentFolder("dir/a", '/'), "dir");
}

}  // namespace
}  // namespace morvane::platform
