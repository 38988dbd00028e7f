#include "folder_recordings.h"

#include <algorithm>

#include "library/folder_scan.h"
#include "platform/exact_path.h"
#include "platform/folder_listing.h"

namespace morvane::inspect {

std::vector<std::string> folderRecordings(const std::string& folder, char separator) {
  std::vector<std::string> names;
  const std::string listed = platform::exactFromAnsi(joinPath(folder, "", separator));
  for (const platform::FolderItem& item : platform::listFolder(listed)) {
    if (!item.isFolder() && isListedRecording(item.name)) names.push_back(item.exactName);
  }
  std::sort(names.begin(), names.end());  // std::string compares bytes as unsigned
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(joinPath(folder, name, separator));
  return paths;
}

}  // namespace morvane::inspect
