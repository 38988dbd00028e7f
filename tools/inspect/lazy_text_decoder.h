// A decoder that opens the code page's converter at the first text it is
// given, so a run that decodes nothing (--raw, or no recording loaded)
// never loads it. One per thread: converters keep state between calls.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/text_decoder.h"

namespace morvane::inspect {

using platform::TextDecoder;

class LazyTextDecoder : public TextDecoder {
 public:
  // codePage should be one codePageKnown accepts.
  explicit LazyTextDecoder(int codePage) : codePage_(codePage) {}

  // A converter that cannot be opened after all gives one U+FFFD per text.
  std::string toUtf8(std::string_view bytes) const override {
    if (bytes.empty()) return {};
    if (!tried_) {
      decoder_ = platform::makeTextDecoder(codePage_);
      tried_ = true;
    }
    return decoder_ != nullptr ? decoder_->toUtf8(bytes) : "\xEF\xBF\xBD";
  }

 private:
  int codePage_;
  mutable bool tried_ = false;
  mutable std::unique_ptr<TextDecoder> decoder_;
};

}  // namespace morvane::inspect
