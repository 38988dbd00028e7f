// Reports of many recordings read on several threads and handed out in the
// order of their paths, exactly as one thread would hand them out.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "recording_report.h"

namespace morvane::inspect {

// One thread's way to report a path; every thread makes its own, so nothing
// with state (a code page converter) is shared between threads.
using ReportFunction = std::function<Report(const std::string& path)>;

struct CollectionRun {
  unsigned jobs = 1;                           // threads reading; at most one per path
  std::function<ReportFunction()> makeWorker;  // called on each reading thread
  std::function<void(const Report&)> emit;     // in path order, on the calling thread
  // On the calling thread, after each emit and now and then while waiting;
  // may be empty.
  std::function<void(std::size_t done)> progress;
};

// Reads every path once; two paths naming the same file are never read at
// the same time.
void reportCollection(const std::vector<std::string>& paths, const CollectionRun& run);

}  // namespace morvane::inspect
