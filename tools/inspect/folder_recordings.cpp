#include "folder_recordings.h"

#include <algorithm>

#include "platform/folder_listing.h"

namespace morvane::inspect {

bool hasRecordingEnding(const std::string& name) {
  return name.size() >= 4 && name.compare(name.size() - 4, 4, ".mgx") == 0;
}

std::string joinWith(const std::string& folder, const std::string& name, char separator) {
  if (!folder.empty() && folder.back() == separator) return folder + name;
  return folder + separator + name;
}

std::vector<std::string> folderRecordings(const std::string& folder, char separator) {
  std::vector<std::string> names;
  for (const platform::FolderItem& item : platform::listFolder(joinWith(folder, "", separator))) {
    const bool isFolder = (item.attributes & platform::FolderItem::kFolderAttribute) != 0;
    if (!isFolder && hasRecordingEnding(item.name)) names.push_back(item.name);
  }
  std::sort(names.begin(), names.end());  // std::string compares bytes as unsigned
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(joinWith(folder, name, separator));
  return paths;
}

}  // namespace morvane::inspect
