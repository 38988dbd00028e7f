#include "library/list_presentation.h"

#include <cstdio>

#include "library/folder_scan.h"
#include "library/game_rows.h"
#include "recording/map_names.h"

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
  return holdsUpperCase(entry, codePage.toUpper(filterText), codePage);
}

bool holdsUpperCase(const GameEntry& entry, const std::string& upperFilter,
                    const platform::CodePage& codePage) {
  const std::string map = mapCellText(entry);
  for (const std::string* field : {&entry.fileName, &map, &entry.povName}) {
    // An unparsed row's map and POV are empty, and hold no filter text.
    if (field->size() < upperFilter.size()) continue;
    if (codePage.find(codePage.toUpper(*field), upperFilter) != platform::CodePage::npos)
      return true;
  }
  return false;
}

std::string mapCellText(const GameEntry& entry) {
  if (entry.mapName != kMapTypeNotFound || isListedRecording(entry.fileName) ||
      !entry.facts.allocated()) {
    return entry.mapName;
  }
  const GameFacts& facts = entry.facts.read();
  if (!facts.mapId) return entry.mapName;
  const std::string_view english = builtInMapName(*facts.mapId, facts.version.family);
  if (english.empty()) return entry.mapName;
  const std::string_view japanese = japaneseMapName(english).cp932;
  return std::string(japanese.empty() ? english : japanese);
}

std::string povCellText(const GameEntry& entry, const NameTable& playerNameTable) {
  if (!entry.hasPov()) return std::string();
  return povDisplayName(playerNameTable,
                        entry.playerNames[static_cast<std::size_t>(entry.povIndex)]);
}

void fillList(const ListingContext& context) { context.rows.fill(context.filterText); }

void fillListSortedByName(const ListingContext& context) {
  fillList(context);
  context.rows.sort(kColumnName, true);
}

}  // namespace morvane
