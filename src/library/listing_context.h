// The collaborators of one listing, owned by the main window and lent for a
// call.
#pragma once

#include <string>

#include "library/game_entry_array.h"
#include "library/icon_source.h"
#include "library/list_control.h"
#include "library/name_table.h"
#include "platform/code_page.h"

namespace morvane {

struct ListingContext {
  GameEntryArray& store;
  ListControl& list;
  IconSource& icons;
  const platform::CodePage& codePage;
  const NameTable& playerNameTable;
  const std::string& filterText;
};

}  // namespace morvane
