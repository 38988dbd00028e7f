#include <windows.h>

#include <string>
#include <string_view>

#include "platform/exact_path_win32.h"
#include "platform/text_decoder.h"

namespace morvane::platform {
namespace {

class Win32Decoder : public TextDecoder {
 public:
  explicit Win32Decoder(UINT codePage) : codePage_(codePage) {}

  // Character by character, so that every sequence the code page rejects
  // becomes U+FFFD whatever the system's own replacement would be.
  std::string toUtf8(std::string_view bytes) const override {
    std::wstring utf16;
    for (std::size_t at = 0; at < bytes.size();) {
      const auto lead = static_cast<BYTE>(bytes[at]);
      std::size_t length = IsDBCSLeadByteEx(codePage_, lead) ? 2 : 1;
      if (at + length > bytes.size()) length = bytes.size() - at;
      wchar_t units[2];
      const int got = MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, bytes.data() + at,
                                          static_cast<int>(length), units, 2);
      if (got > 0 && !(length == 1 && IsDBCSLeadByteEx(codePage_, lead)))
        utf16.append(units, static_cast<std::size_t>(got));
      else
        utf16 += L'\xFFFD';
      at += length;
    }
    return exactFromWide(utf16);  // UTF-8
  }

 private:
  UINT codePage_;
};

}  // namespace

std::unique_ptr<TextDecoder> makeTextDecoder(int codePage) {
  CPINFO info;
  if (codePage <= 0 || !GetCPInfo(static_cast<UINT>(codePage), &info)) return nullptr;
  return std::make_unique<Win32Decoder>(static_cast<UINT>(codePage));
}

std::string utf8ToCodePage(std::string_view utf8, int codePage) {
  CPINFO info;
  if (codePage <= 0 || !GetCPInfo(static_cast<UINT>(codePage), &info)) return {};
  if (utf8.empty()) return {};
  // A byte that starts no sequence becomes U+FFFD, which no ANSI code page
  // holds, so it ends as '?' like any other missing character.
  const std::wstring wide = wideFromExact(std::string(utf8));
  const auto units = static_cast<int>(wide.size());
  const auto page = static_cast<UINT>(codePage);
  const int bytes =
      WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0, "?", nullptr);
  std::string text(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, wide.data(), units, text.data(), bytes, "?",
                      nullptr);
  return text;
}

bool codePageKnown(int codePage) {
  return codePage > 0 && IsValidCodePage(static_cast<UINT>(codePage));
}

int defaultCodePage() { return static_cast<int>(GetACP()); }

}  // namespace morvane::platform
