#include "archive/recording_files.h"

#include "archive/civil_days.h"
#include "library/folder_scan.h"
#include "platform/folder_listing.h"
#include "platform/path.h"

namespace morvane::archive {
namespace {

// A link back up the tree must not make the walk endless.
constexpr int kDeepestFolder = 64;

void walk(const std::string& folder, bool recursive, char separator, int depth,
          std::vector<FoundFile>& found) {
  std::vector<std::string> folders;
  for (const platform::FolderItem& item : platform::listFolder(platform::joinPath(folder, "", separator))) {
    if (item.isFolder()) {
      if (recursive && item.exactName != "." && item.exactName != "..") folders.push_back(item.exactName);
    } else if (isRecordingName(item.exactName)) {
      found.push_back({platform::joinPath(folder, item.exactName, separator),
                       static_cast<int64_t>(item.size), unixMs(item.lastWrite)});
    }
  }
  if (depth >= kDeepestFolder) return;
  for (const std::string& name : folders) {
    walk(platform::joinPath(folder, name, separator), recursive, separator, depth + 1, found);
  }
}

}  // namespace

bool isRecordingName(const std::string& name) { return isRecordingOfAnyEdition(name); }

int64_t unixMs(const platform::EntryTime& time) {
  if (time.year == 0) return 0;
  const int64_t days = daysFromCivil(time.year, time.month, time.day);
  return ((days * 24 + time.hour) * 60 + time.minute) * 60000 + time.second * 1000 +
         time.milliseconds;
}

std::vector<FoundFile> findRecordings(const std::vector<std::string>& paths, bool recursive,
                                      char separator) {
  std::vector<FoundFile> found;
  for (const std::string& path : paths) walk(path, recursive, separator, 0, found);
  std::sort(found.begin(), found.end(),
            [](const FoundFile& a, const FoundFile& b) { return a.path < b.path; });
  found.erase(std::unique(found.begin(), found.end(),
                          [](const FoundFile& a, const FoundFile& b) { return a.path == b.path; }),
              found.end());
  return found;
}

}  // namespace morvane::archive
