#include "folder_recordings.h"

#include <algorithm>

#include "library/folder_scan.h"
#include "platform/exact_path.h"
#include "platform/folder_listing.h"

namespace morvane::inspect {
namespace {

// A link back up the tree must not make the walk endless.
constexpr int kDeepestFolder = 64;

void collect(const std::string& folder, char separator, bool recursive, int depth,
             std::vector<std::string>& paths) {
  std::vector<std::string> files, folders;
  const std::string listed = platform::exactFromAnsi(joinPath(folder, "", separator));
  for (const platform::FolderItem& item : platform::listFolder(listed)) {
    if (item.isFolder()) {
      if (item.exactName != "." && item.exactName != "..") folders.push_back(item.exactName);
    } else if (isRecordingName(item.name)) {
      files.push_back(item.exactName);
    }
  }
  std::sort(files.begin(), files.end());  // std::string compares bytes as unsigned
  for (const std::string& name : files) paths.push_back(joinPath(folder, name, separator));
  if (!recursive || depth >= kDeepestFolder) return;
  std::sort(folders.begin(), folders.end());
  for (const std::string& name : folders) {
    collect(joinPath(folder, name, separator), separator, recursive, depth + 1, paths);
  }
}

}  // namespace

bool isRecordingName(const std::string& name) { return isRecordingOfAnyEdition(name); }

std::vector<std::string> folderRecordings(const std::string& folder, char separator,
                                          bool recursive) {
  std::vector<std::string> paths;
  collect(folder, separator, recursive, 0, paths);
  return paths;
}

}  // namespace morvane::inspect
