// The inspector's line for one recording.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "code_page_decoders.h"
#include "library/name_table.h"

namespace morvane::inspect {

struct ReportSettings {
  bool raw = false;                            // byte strings as hex
  const CodePageDecoders* decoders = nullptr;  // otherwise decoded to UTF-8
  const NameTable* playerNames = nullptr;      // --players: povName mapped
  bool result = true;                          // resignations and winners
  std::optional<int32_t> minimapSize;          // --minimap: the map drawn this wide
};

struct Report {
  bool loaded = false;
  std::string line;                 // one JSON object, no line end
  std::vector<uint8_t> minimapPng;  // the map as a PNG file, when asked for and loaded
};

// Loads and parses the recording at the exact path (platform/exact_path.h).
Report reportRecording(const std::string& path, const ReportSettings& settings);

}  // namespace morvane::inspect
