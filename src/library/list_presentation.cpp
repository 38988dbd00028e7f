#include "library/list_presentation.h"

#include <cstdio>

namespace morvane {

std::string formatModified(const EntryTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%d/%02d/%02d %2d:%02d", time.year, time.month, time.day,
                time.hour, time.minute);
  return text;
}

bool passesFilter(const GameEntry& entry, const std::string& filterText,
                  const platform::CodePage& codePage) {
  if (filterText.empty()) return true;
  const std::string wanted = codePage.toUpper(filterText);
  for (const std::string* field : {&entry.fileName, &entry.mapName, &entry.povName}) {
    if (codePage.find(codePage.toUpper(*field), wanted) != platform::CodePage::npos) return true;
  }
  return false;
}

std::string povCellText(const GameEntry& entry, const NameTable& playerNameTable) {
  if (!entry.hasPov()) return std::string();
  return povDisplayName(playerNameTable,
                        entry.playerNames[static_cast<std::size_t>(entry.povIndex)]);
}

void fillList(const ListingContext& context) {
  ListControl& list = context.list;
  list.deleteAllItems();
  const int32_t count = context.store.getSize();
  for (int32_t i = 0; i < count; ++i) {
    const GameEntry& entry = context.store.at(i);
    if (!passesFilter(entry, context.filterText, context.codePage)) continue;
    // The list places the row itself (it keeps its rows by Name).
    const int row = list.insertItem(0, entry.fileName);
    if (row < 0) continue;
    list.setItemImage(row, entry.iconIndex);
    list.setItemText(row, kColumnMap, entry.mapName);
    if (entry.hasPov()) {
      list.setItemText(row, kColumnPov, povCellText(entry, context.playerNameTable));
    }
    list.setItemText(row, kColumnModified, formatModified(entry.modified));
    list.setItemData(row, i);
  }
}

}  // namespace morvane
