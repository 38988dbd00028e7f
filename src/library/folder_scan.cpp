#include "library/folder_scan.h"

#include "library/list_presentation.h"
#include "platform/folder_listing.h"

namespace morvane {

bool isListedRecording(const std::string& name) {
  static constexpr char kExtension[] = ".mgx";
  constexpr std::size_t kLength = sizeof kExtension - 1;
  return name.size() >= kLength && name.compare(name.size() - kLength, kLength, kExtension) == 0;
}

void scanFolder(const std::string& path, const ListingContext& context) {
  context.store.setSize(0);
  context.rows.forgetSortKeys();
  context.icons.clear();
  const std::string folder = joinPath(path, "");

  int folderIcon = -1;
  int fileIcon = -1;
  GameEntry entry;
  for (const platform::FolderItem& item : platform::listFolder(folder)) {
    int* icon;
    if (item.isFolder()) {
      if (item.name == "." || item.name == "..") continue;
      icon = &folderIcon;
    } else {
      if (!isListedRecording(item.name)) continue;
      icon = &fileIcon;
    }
    // One icon per kind; a kind whose icon failed tries again with its next item.
    if (*icon == -1) *icon = context.icons.addIconFor(folder + item.exactName);
    entry.iconIndex = *icon;
    entry.fileName = item.name;
    entry.exactName = item.exactName;
    entry.attributes = item.attributes;
    entry.modified = item.lastWrite;
    // A store that cannot grow keeps what it holds; the listing stops there.
    if (context.store.add(entry) < 0) break;
  }

  fillListSortedByName(context);
}

}  // namespace morvane
