#include "library/folder_scan.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "library/list_presentation.h"
#include "platform/folder_listing.h"

namespace morvane {

namespace {

constexpr std::string_view kEditionExtensions[] = {".mgx",  ".mgz", ".mgl",
                                                   ".mgx2", ".aoe2record", ".msx"};

// ASCII letters only: '.' is never a trail byte, so a match starts on a character.
bool endsWithIgnoringCase(const std::string& name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(suffix.begin(), suffix.end(), name.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [&](char a, char b) { return a == lower(b); });
}

}  // namespace

bool isRecordingOfAnyEdition(const std::string& name) {
  return std::any_of(std::begin(kEditionExtensions), std::end(kEditionExtensions),
                     [&](std::string_view extension) { return endsWithIgnoringCase(name, extension); });
}

bool isListedRecording(const std::string& name, ListedKinds kinds) {
  static constexpr char kExtension[] = ".mgx";
  constexpr std::size_t kLength = sizeof kExtension - 1;
  if (kinds == ListedKinds::kEveryEdition && isRecordingOfAnyEdition(name)) return true;
  return name.size() >= kLength && name.compare(name.size() - kLength, kLength, kExtension) == 0;
}

int scanFolder(const std::string& path, const ListingContext& context, ListedKinds kinds) {
  context.store.setSize(0);
  context.rows.forgetSortKeys();
  context.icons.clear();
  const std::string folder = joinPath(path, "");

  int folderIcon = -1;
  int fileIcon = -1;
  GameEntry entry;
  int leftOut = 0;
  for (const platform::FolderItem& item : platform::listFolder(folder)) {
    int* icon;
    if (item.isFolder()) {
      if (item.name == "." || item.name == "..") continue;
      icon = &folderIcon;
    } else {
      if (!isListedRecording(item.name, kinds)) {
        if (isRecordingOfAnyEdition(item.name)) ++leftOut;
        continue;
      }
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
  return leftOut;
}

std::string leftOutRecordingsNote(const GameEntryArray& store, int leftOut) {
  if (leftOut <= 0) return {};
  for (int32_t i = 0; i < store.getSize(); ++i) {
    if (!store.at(i).isFolder()) return {};
  }
  return u8"このフォルダーには .mgx 以外の録画が " + std::to_string(leftOut) +
         u8" 件あります。一覧を右クリックして「すべての録画を表示(A)」を選ぶと表示されます。";
}

}  // namespace morvane
