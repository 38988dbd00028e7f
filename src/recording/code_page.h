// The code page a recording's names and chat are written in, found from the
// recording itself: the game wrote them in its own language's code page, or,
// in the later edition, in UTF-8.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "recording/game_version.h"

namespace morvane {

inline constexpr int32_t kUtf8CodePage = 65001;

struct CodePageSignals {
  VersionFamily family = VersionFamily::kUnknown;
  int32_t mapTypeLabel = 0;             // the code page of the map type line's label; 0 without one
  std::vector<std::string_view> texts;  // the map type text, the names, the chat
};

// 1252, 932, 936, 949, 950 or 65001; 0 where the texts are plain ASCII and
// nothing else tells.
int32_t findCodePage(const CodePageSignals& signals);

// Strictly: no overlong form, no surrogate, nothing above U+10FFFF.
bool validUtf8(std::string_view text);

}  // namespace morvane
