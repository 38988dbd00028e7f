// The decoder for each recording: the code page --codepage names, otherwise
// the one the recording was found to be written in, otherwise the default.
// One set per thread, as each decoder is.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "lazy_text_decoder.h"

namespace morvane::inspect {

class CodePageDecoders {
 public:
  // fallback should be one codePageKnown accepts.
  CodePageDecoders(std::optional<int> given, int fallback) : given_(given), fallback_(fallback) {}

  // found is the recording's code page, 0 where nothing decided it.
  const TextDecoder& forRecording(int32_t found) const {
    int codePage = fallback_;
    if (given_) {
      codePage = *given_;
    } else if (found != 0 && platform::codePageKnown(found)) {
      codePage = found;
    }
    std::unique_ptr<LazyTextDecoder>& decoder = decoders_[codePage];
    if (!decoder) decoder = std::make_unique<LazyTextDecoder>(codePage);
    return *decoder;
  }

 private:
  std::optional<int> given_;
  int fallback_;
  mutable std::map<int, std::unique_ptr<LazyTextDecoder>> decoders_;
};

}  // namespace morvane::inspect
