#include <dirent.h>
#include <sys/stat.h>

#include <ctime>
#include <memory>

#include "platform/folder_listing.h"

namespace morvane::platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

EntryTime breakDown(const struct timespec& time) {
  EntryTime broken;
  struct tm utc = {};
  if (gmtime_r(&time.tv_sec, &utc) == nullptr) return broken;
  broken.year = static_cast<uint16_t>(utc.tm_year + 1900);
  broken.month = static_cast<uint16_t>(utc.tm_mon + 1);
  broken.dayOfWeek = static_cast<uint16_t>(utc.tm_wday);
  broken.day = static_cast<uint16_t>(utc.tm_mday);
  broken.hour = static_cast<uint16_t>(utc.tm_hour);
  broken.minute = static_cast<uint16_t>(utc.tm_min);
  broken.second = static_cast<uint16_t>(utc.tm_sec);
  broken.milliseconds = static_cast<uint16_t>(time.tv_nsec / 1000000);
  return broken;
}

}  // namespace

std::vector<FolderItem> listFolder(const std::string& folder) {
  // Our folder paths use '\' as the separator; here it is '/'.
  std::string path = folder;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  if (path.empty() || path.back() != '/') path += '/';

  std::vector<FolderItem> items;
  std::unique_ptr<DIR, DirCloser> dir(opendir(path.c_str()));
  if (!dir) return items;
  while (const struct dirent* found = readdir(dir.get())) {
    FolderItem item;
    item.name = found->d_name;
    item.exactName = item.name;
    struct stat status = {};
    if (lstat((path + item.name).c_str(), &status) == 0) {
      if (S_ISDIR(status.st_mode)) item.attributes = FolderItem::kFolderAttribute;
      item.lastWrite = breakDown(status.st_mtim);
      if (S_ISREG(status.st_mode)) item.size = static_cast<uint64_t>(status.st_size);
    } else if (found->d_type == DT_DIR) {
      item.attributes = FolderItem::kFolderAttribute;
    }
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace morvane::platform
