// Rows of the list built from the store, with the text filter.
#pragma once

#include <string>

#include "library/listing_context.h"
#include "recording/game_entry.h"

namespace morvane {

// "%d/%02d/%02d %2d:%02d": the Modified cell and its sort key.
std::string formatModified(const EntryTime& time);

// A time in ms since 1970 UTC, broken down in UTC (seconds and milliseconds
// included), as the listing breaks down a file's time.
EntryTime utcTimeOf(int64_t ms);

// "%04d/%02d/%02d %02d:%02d" of a time in ms since 1970, in UTC as the
// Modified cell: the search's date column and the report's date of a game.
std::string dateText(int64_t ms);

// True when filterText is empty or its upper-case form occurs in the
// upper-case file name, map name or POV name.
bool passesFilter(const GameEntry& entry, const std::string& filterText,
                  const platform::CodePage& codePage);

// The same with the filter text upper-cased already, as a refill does once
// for all its rows; each field is upper-cased once.
bool holdsUpperCase(const GameEntry& entry, const std::string& upperFilter,
                    const platform::CodePage& codePage);

// The Map cell of an entry, in the window's code page: the map type text,
// or for a recording other than .mgx that states none, the built-in map
// its lobby names (in Japanese where that name is known).
std::string mapCellText(const GameEntry& entry, const platform::CodePage& windowCodePage);

// The POV cell of an entry, in the window's code page, through the table:
// empty unless the entry has a POV.
std::string povCellText(const GameEntry& entry, const NameTable& playerNameTable,
                        const platform::CodePage& windowCodePage);

// The POV player's name as the recording writes it, through the table:
// empty unless the entry has a POV.
std::string povPlayerName(const GameEntry& entry, const NameTable& playerNameTable);

// Rebuilds the rows: one per entry that passes the filter, in store order.
void fillList(const ListingContext& context);

// What a new listing and a new filter both do: the rows rebuilt, then
// ascending by Name.
void fillListSortedByName(const ListingContext& context);

}  // namespace morvane
