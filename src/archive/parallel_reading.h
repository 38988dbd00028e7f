// Recordings read on several threads and handed to one writer in the order
// of their paths, so the index is written by one connection only.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <vector>

#include "archive/recording_files.h"
#include "archive/recording_row.h"

namespace morvane::archive {

struct ParallelReading {
  unsigned jobs = 1;
  int fallbackCodePage = 1252;
  // Asked on every thread between files: once true, no further file is
  // started and the writer is handed nothing more.
  std::function<bool()> stop;
};

// Calls write(row) on the calling thread for each file, in order, until all
// are written or stop is set.
void readInParallel(const std::vector<FoundFile>& files, const ParallelReading& how,
                    const std::function<void(RecordingRow&&)>& write);

}  // namespace morvane::archive
