// The recording files under the paths an index covers, with the size and
// last-write time the listing reports, so that an update knows what changed
// without opening anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/entry_time.h"

namespace morvane::archive {

struct FoundFile {
  std::string path;  // exact path
  int64_t size = 0;
  int64_t modifiedMs = 0;  // ms since 1970 UTC
};

// .mgx, .mgz, .mgl, .mgx2, .aoe2record and .msx, in any case.
bool isRecordingName(const std::string& name);

// ms since 1970 UTC of a broken-down UTC time.
int64_t unixMs(const platform::EntryTime& time);

// The recordings in each folder (and its sub-folders when recursive), by
// exact path with separator; a file path is taken as it is when it is a
// recording. Paths are exact paths; a folder's ends without a separator.
std::vector<FoundFile> findRecordings(const std::vector<std::string>& paths, bool recursive,
                                      char separator);

}  // namespace morvane::archive
