// One folder of the file system turned into the store and the list rows.
#pragma once

#include <string>

#include "library/listing_context.h"
#include "platform/path.h"

namespace morvane {

using platform::joinPath;

// Which files a listing takes for recordings: the ".mgx" files alone, or
// every edition's recordings, which the window lists on request.
enum class ListedKinds { kMgx, kEveryEdition };

// Lists the sub-folders and recordings of path (an exact path,
// platform/exact_path.h) into the store and the icons, rebuilds the rows with
// the filter and sorts them ascending by Name. The sort-toggle state is not
// changed. Answers how many recordings of other editions the listing left
// out (none when it takes every edition's).
int scanFolder(const std::string& path, const ListingContext& context,
               ListedKinds kinds = ListedKinds::kMgx);

// What the list says (UTF-8, Japanese) when a listing shows no recording
// but left out leftOut recordings of other editions: that they are there
// and how to show them. Empty otherwise.
std::string leftOutRecordingsNote(const GameEntryArray& store, int leftOut);

// True for the names the listing shows as recordings: ending in ".mgx",
// byte for byte (so not ".MGX"); with every edition also any name that
// isRecordingOfAnyEdition takes.
bool isListedRecording(const std::string& name, ListedKinds kinds = ListedKinds::kMgx);

// .mgx, .mgz, .mgl, .mgx2, .aoe2record and .msx, in any case.
bool isRecordingOfAnyEdition(const std::string& name);

}  // namespace morvane
