#include "library/list_presentation.h"

#include <cstdio>

#include "library/folder_scan.h"
#include "library/game_rows.h"
#include "library/recording_text.h"
#include "platform/text_decoder.h"
#include "recording/map_names.h"

namespace morvane {
namespace {

bool plainAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  return true;
}

// A recording's own text in the window's code page: the list is drawn
// through the ANSI calls, and the editions beyond .mgx write their names in
// UTF-8 or a code page of their own. An .mgx row keeps its bytes as read.
std::string inWindowCodePage(const GameEntry& entry, const std::string& text,
                             const platform::CodePage& windowCodePage) {
  if (isListedRecording(entry.fileName) || !entry.facts.allocated() || plainAscii(text)) {
    return text;
  }
  const RecordingText decode(entry.facts.read().codePage);
  std::string shown = platform::utf8ToCodePage(decode(text), windowCodePage.number());
  return shown.empty() ? text : shown;
}

}  // namespace

std::string formatModified(const EntryTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%d/%02d/%02d %2d:%02d", time.year, time.month, time.day,
                time.hour, time.minute);
  return text;
}

EntryTime utcTimeOf(int64_t ms) {
  constexpr int64_t kDayMs = 86400000;
  const int64_t days = (ms >= 0 ? ms : ms - kDayMs + 1) / kDayMs;
  const int64_t inDay = ms - days * kDayMs;
  // Civil date from days since 1970 (the inverse of the archive's daysFromCivil).
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  EntryTime time;
  time.year = static_cast<uint16_t>(yearOfEra + era * 400 + (month <= 2));
  time.month = static_cast<uint16_t>(month);
  time.day = static_cast<uint16_t>(dayOfYear - (153 * mp + 2) / 5 + 1);
  time.dayOfWeek = static_cast<uint16_t>((days % 7 + 11) % 7);  // 1970-01-01 was a Thursday
  time.hour = static_cast<uint16_t>(inDay / 3600000);
  time.minute = static_cast<uint16_t>(inDay / 60000 % 60);
  time.second = static_cast<uint16_t>(inDay / 1000 % 60);
  time.milliseconds = static_cast<uint16_t>(inDay % 1000);
  return time;
}

std::string dateText(int64_t ms) {
  const EntryTime t = utcTimeOf(ms);
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute);
  return text;
}

bool passesFilter(const GameEntry& entry, const std::string& filterText,
                  const platform::CodePage& codePage) {
  if (filterText.empty()) return true;
  return holdsUpperCase(entry, codePage.toUpper(filterText), codePage);
}

bool holdsUpperCase(const GameEntry& entry, const std::string& upperFilter,
                    const platform::CodePage& codePage) {
  const std::string map = mapCellText(entry, codePage);
  for (const std::string* field : {&entry.fileName, &map, &entry.povName}) {
    // An unparsed row's map and POV are empty, and hold no filter text.
    if (field->size() < upperFilter.size()) continue;
    if (codePage.find(codePage.toUpper(*field), upperFilter) != platform::CodePage::npos)
      return true;
  }
  return false;
}

std::string mapCellText(const GameEntry& entry, const platform::CodePage& windowCodePage) {
  if (entry.mapName != kMapTypeNotFound)
    return inWindowCodePage(entry, entry.mapName, windowCodePage);
  if (isListedRecording(entry.fileName) || !entry.facts.allocated()) return entry.mapName;
  const GameFacts& facts = entry.facts.read();
  if (!facts.mapScript.empty()) return inWindowCodePage(entry, facts.mapScript, windowCodePage);
  if (!facts.mapId) return entry.mapName;
  const std::string_view english = builtInMapName(*facts.mapId, facts.version.family);
  if (english.empty()) return entry.mapName;
  const std::string_view japanese = japaneseMapName(english).cp932;
  return std::string(japanese.empty() ? english : japanese);
}

std::string povCellText(const GameEntry& entry, const NameTable& playerNameTable,
                        const platform::CodePage& windowCodePage) {
  if (!entry.hasPov()) return std::string();
  // The table's names are the window's text, so it is asked after the change.
  const std::string name = inWindowCodePage(
      entry, entry.playerNames[static_cast<std::size_t>(entry.povIndex)], windowCodePage);
  return povDisplayName(playerNameTable, name);
}

std::string povPlayerName(const GameEntry& entry, const NameTable& playerNameTable) {
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
