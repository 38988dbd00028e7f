// Texts taken from a recording (names, the map type text, chat) as UTF-8,
// decoded from the code page the reader found for that recording, so that a
// window can show them whatever the system's own code page is.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/text_decoder.h"

namespace morvane {

class RecordingText {
 public:
  // codePage as GameFacts holds it; 0 (plain ASCII, nothing decides) reads
  // as the system's default code page.
  explicit RecordingText(int32_t codePage);

  // UTF-8; a sequence the code page does not define becomes U+FFFD.
  std::string operator()(std::string_view bytes) const;

 private:
  bool utf8_ = false;
  std::unique_ptr<platform::TextDecoder> decoder_;
};

}  // namespace morvane
