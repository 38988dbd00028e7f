// The items of one folder as the file system reports them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/entry_time.h"

namespace morvane::platform {

struct FolderItem {
  static constexpr uint32_t kFolderAttribute = 0x10;

  std::string name;         // without the folder part, as the ANSI code page renders it
  std::string exactName;    // the same as the file system holds it (platform/exact_path.h)
  uint32_t attributes = 0;  // Win32 attribute bits; 0x10 for a folder
  EntryTime lastWrite;      // last-write time in UTC
  uint64_t size = 0;        // in bytes; 0 for a folder

  static bool isFolder(uint32_t attributes) { return (attributes & kFolderAttribute) != 0; }
  bool isFolder() const { return isFolder(attributes); }
};

// Every item of folder, "." and ".." included, in the order the system
// returns them. folder is an exact path ending in '\' (or '/'); on POSIX '\'
// is read as '/'. A missing or unreadable folder gives no items.
std::vector<FolderItem> listFolder(const std::string& folder);

}  // namespace morvane::platform
