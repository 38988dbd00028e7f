#include <windows.h>

#include "platform/exact_path_win32.h"
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
  // The wide calls: the ANSI ones return a name the code page cannot hold
  // with '?' or look-alikes in it, and that name does not open.
  WIN32_FIND_DATAW found = {};
  const HANDLE search = FindFirstFileW((wideFromExact(folder) + L"*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return items;
  do {
    FolderItem item;
    item.name = ansiFromWide(found.cFileName);
    item.exactName = exactFromWide(found.cFileName);
    item.attributes = found.dwFileAttributes;
    item.lastWrite = breakDown(found.ftLastWriteTime);
    item.size = (uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    items.push_back(std::move(item));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return items;
}

}  // namespace morvane::platform
