#include "library/recording_text.h"

#include "recording/code_page.h"

namespace morvane {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Keeps every well-formed sequence, one U+FFFD for each byte that starts none.
std::string checkedUtf8(std::string_view bytes) {
  if (validUtf8(bytes)) return std::string(bytes);
  std::string text;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t length = 1;
    for (std::size_t tried = 4; tried >= 1; --tried) {
      if (tried <= bytes.size() - at && validUtf8(bytes.substr(at, tried))) {
        length = tried;
        break;
      }
    }
    if (length == 1 && static_cast<uint8_t>(bytes[at]) >= 0x80) {
      text += kReplacement;
    } else {
      text.append(bytes.substr(at, length));
    }
    at += length;
  }
  return text;
}

bool plainAscii(std::string_view bytes) {
  for (const char c : bytes)
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  return true;
}

}  // namespace

RecordingText::RecordingText(int32_t codePage) {
  const int number = codePage != 0 ? codePage : platform::defaultCodePage();
  utf8_ = number == kUtf8CodePage;
  if (!utf8_) decoder_ = platform::makeTextDecoder(number);
}

std::string RecordingText::operator()(std::string_view bytes) const {
  if (utf8_ || plainAscii(bytes)) return checkedUtf8(bytes);
  if (decoder_ == nullptr) return checkedUtf8(bytes);  // a code page this system lacks
  return decoder_->toUtf8(bytes);
}

}  // namespace morvane
