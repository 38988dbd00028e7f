// One folder of the file system turned into the store and the list rows.
#pragma once

#include <string>

#include "library/listing_context.h"
#include "platform/path.h"

namespace morvane {

using platform::joinPath;

// Lists the sub-folders and ".mgx" files of path (an exact path,
// platform/exact_path.h) into the store and the icons, rebuilds the rows with
// the filter and sorts them ascending by Name. The sort-toggle state is not
// changed.
void scanFolder(const std::string& path, const ListingContext& context);

// True for the names the listing shows as recordings: ending in ".mgx",
// byte for byte (so not ".MGX").
bool isListedRecording(const std::string& name);

}  // namespace morvane
