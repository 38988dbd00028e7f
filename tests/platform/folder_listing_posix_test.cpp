// POSIX-only facts of the listing: '\' as separator, and UTC whatever the
// local time zone.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <cstdlib>
#include <ctime>
#include <fstream>

#include "platform/folder_listing.h"
#include "recording_writer/temp_folder.h"

namespace morvane::platform {
namespace {

const FolderItem* findItem(const std::vector<FolderItem>& items, const std::string& name) {
  for (const FolderItem& item : items) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

TEST(PosixFolderListingTest, BackslashesAreSeparators) {
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  std::ofstream(folder.file("a.mgx")) << "x";
  std::string path = folder.path();
  const std::size_t slash = path.rfind('/');
  path[slash] = '\\';
  EXPECT_NE(findItem(listFolder(path + "\\"), "a.mgx"), nullptr);
  EXPECT_NE(findItem(listFolder(folder.path()), "a.mgx"), nullptr);
}

TEST(PosixFolderListingTest, TimeEastOfUtcShowsTheUtcDateAndHour) {
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string file = folder.file("late.mgx");
  std::ofstream(file) << "x";
  // 08:30 on 21 August 2005 in Tokyo is 23:30 UTC on the 20th.
  const struct timeval times[2] = {{1124580615, 250000}, {1124580615, 250000}};
  ASSERT_EQ(utimes(file.c_str(), times), 0);
  const char* oldZone = std::getenv("TZ");
  const std::string saved = oldZone ? oldZone : "";
  setenv("TZ", "Asia/Tokyo", 1);
  tzset();
  const auto items = listFolder(folder.path() + "\\");
  if (oldZone) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
  const FolderItem* item = findItem(items, "late.mgx");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->lastWrite.year, 2005);
  EXPECT_EQ(item->lastWrite.month, 8);
  EXPECT_EQ(item->lastWrite.day, 20);
  EXPECT_EQ(item->lastWrite.dayOfWeek, 6);  // a Saturday
  EXPECT_EQ(item->lastWrite.hour, 23);
  EXPECT_EQ(item->lastWrite.minute, 30);
  EXPECT_EQ(item->lastWrite.second, 15);
  EXPECT_EQ(item->lastWrite.milliseconds, 250);
}

}  // namespace
}  // namespace morvane::platform
