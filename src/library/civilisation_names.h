// The civilisations by civId, every id the editions write, in one table:
// the English name (the inspector's), the Japanese name (the report's and
// the search's) and the abbreviation the detail pane shows.
#pragma once

#include <cstdint>
#include <string>

#include "recording/game_version.h"

namespace morvane {

struct Civilisation {
  const char* english;             // as the earlier editions' public data names it
  const char* definitiveEnglish;   // the Definitive Edition's, where it renamed one
  const char* japanese;            // UTF-8
  const char* abbreviation;        // at most three ASCII letters
};

// The row of civId; null for 0 (no civilisation) and for an id no edition
// known here writes.
const Civilisation* civilisationOf(int32_t civId);

// The full name of civId as the edition that wrote it names it; empty for 0
// and "#N" for an id not in the table, so a later civilisation still shows
// as itself.
std::string civilisationName(int32_t civId, VersionFamily family);

// The name the game's Japanese editions give civId, in UTF-8; empty for 0
// and "#N" for an id not in the table.
std::string civilisationNameInJapanese(int32_t civId);

// The detail pane's abbreviation of civId; empty for 0 and for an id not in
// the table.
std::string civilisationAbbreviation(int32_t civId);

}  // namespace morvane
