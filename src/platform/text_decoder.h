// Bytes of a code page as UTF-8, through the system's real converter.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace morvane::platform {

class TextDecoder {
 public:
  virtual ~TextDecoder() = default;
  // Invalid sequences become U+FFFD.
  virtual std::string toUtf8(std::string_view bytes) const = 0;
};

// Null when the code page is not known to the converter.
std::unique_ptr<TextDecoder> makeTextDecoder(int codePage);

// UTF-8 text in the given code page's bytes, for windows drawn through the
// ANSI calls; a character the code page lacks becomes '?' (no look-alike),
// and so does a byte that starts no UTF-8 sequence. Empty when the code page
// is not known to the converter.
std::string utf8ToCodePage(std::string_view utf8, int codePage);

// Whether makeTextDecoder would know the code page, asked of the converter's
// list of names without loading the code page's tables.
bool codePageKnown(int codePage);

// The default code page: the ANSI code page on Windows, 1252 elsewhere.
int defaultCodePage();

}  // namespace morvane::platform
