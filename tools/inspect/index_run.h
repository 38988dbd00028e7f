// morvane-inspect --index: the recordings under the paths go into an archive
// index (src/archive), read on every core as the JSON run reads them.
#pragma once

#include "inspect_options.h"

namespace morvane::inspect {

// Exit status: 0 every file read loaded, 1 one did not, 2 a missing path,
// 3 an index that cannot be used (damaged without --rebuild, newer, unwritable).
int runIndex(const InspectOptions& options, unsigned jobs);

}  // namespace morvane::inspect
