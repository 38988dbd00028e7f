// Names as a search compares them: what a player types should find a name
// however its letters were cased or whether it was typed in full-width
// letters, in any script. Kept beside each name in the index, so a search
// compares folded bytes with a plain substring test.
#pragma once

#include <string>
#include <string_view>

namespace morvane::archive {

// UTF-8 in, UTF-8 out: full-width ASCII (U+FF01..U+FF5E) as ASCII, then
// capitals as small letters in the Latin, Greek, Cyrillic and Armenian
// blocks. Scripts without case are kept as they are; an invalid byte is
// kept as it is.
std::string foldForSearch(std::string_view utf8);

}  // namespace morvane::archive
