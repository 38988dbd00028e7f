#include <windows.h>

#include <string>
#include <vector>

#include "text_decoder.h"

namespace morvane::inspect {
namespace {

class Win32Decoder : public TextDecoder {
 public:
  explicit Win32Decoder(UINT codePage) : codePage_(codePage) {}

  std::string toUtf8(std::string_view bytes) const override {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    // Without MB_ERR_INVALID_CHARS invalid sequences become U+FFFD.
    const int units = MultiByteToWideChar(codePage_, 0, bytes.data(), size, nullptr, 0);
    if (units <= 0) return {};
    std::vector<wchar_t> utf16(static_cast<std::size_t>(units));
    MultiByteToWideChar(codePage_, 0, bytes.data(), size, utf16.data(), units);
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), units, utf8.data(), length, nullptr, nullptr);
    return utf8;
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

int defaultCodePage() { return static_cast<int>(GetACP()); }

}  // namespace morvane::inspect
