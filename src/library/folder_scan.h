// One folder of the file system turned into the store and the list rows.
#pragma once

#include <string>

#include "library/listing_context.h"

namespace morvane {

// Lists the sub-folders and ".mgx" files of path into the store and the
// icons, rebuilds the rows with the filter and sorts them ascending by Name.
// The sort-toggle state is not changed.
void scanFolder(const std::string& path, const ListingContext& context);

// folder and name joined by one '\' (none added when folder already ends in one).
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace morvane
