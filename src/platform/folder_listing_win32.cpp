#include <windows.h>

#include "platform/folder_listing.h"

namespace morvane::platform {
namespace {

EntryTime breakDown(const FILETIME& time) {
  EntryTime broken;
  SYSTEMTIME utc = {};
  if (!FileTimeToSystemTime(&time, &utc)) return broken;
  broken.year = utc.wYear;
  broken.month = utc.wMonth;
  broken.dayOfWeek = utc.wDayOfWeek;
  broken.day = utc.wDay;
  broken.hour = utc.wHour;
  broken.minute = utc.wMinute;
  broken.second = utc.wSecond;
  broken.milliseconds = utc.wMilliseconds;
  return broken;
}

}  // namespace

std::vector<FolderItem> listFolder(const std::string& folder) {
  std::vector<FolderItem> items;
  WIN32_FIND_DATAA found = {};
  const HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return items;
  do {
    FolderItem item;
    item.name = found.cFileName;
    item.attributes = found.dwFileAttributes;
    item.lastWrite = breakDown(found.ftLastWriteTime);
    items.push_back(std::move(item));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return items;
}

}  // namespace morvane::platform
