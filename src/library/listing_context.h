// The collaborators of one listing, owned by the main window and lent for a
// call.
#pragma once

#include <string>

#include "library/game_entry_array.h"
#include "library/game_rows.h"
#include "library/icon_source.h"

namespace morvane {

struct ListingContext {
  GameEntryArray& store;
  GameRows& rows;  // over store
  IconSource& icons;
  const std::string& filterText;
};

}  // namespace morvane
