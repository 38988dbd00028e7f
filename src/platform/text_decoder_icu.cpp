#include <cstdint>
#include <string>
#include <vector>

#include "platform/icu_library.h"
#include "platform/text_decoder.h"

namespace morvane::platform {
namespace {

// Every byte sequence the code page does not define becomes U+FFFD; ICU's
// own substitute for these code pages is U+001A. context is the library.
void replaceWithFffd(const void* context, UConverterToUnicodeArgs* arguments, const char*, int32_t,
                     UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  static const UChar kReplacement = 0xFFFD;
  *error = U_ZERO_ERROR;
  static_cast<const IcuLibrary*>(context)->cbToUWriteUChars(arguments, &kReplacement, 1, 0, error);
}

class IcuDecoder : public TextDecoder {
 public:
  IcuDecoder(std::shared_ptr<const IcuLibrary> icu, UConverter* converter)
      : icu_(std::move(icu)), converter_(converter) {}
  ~IcuDecoder() override { icu_->close(converter_); }

  std::string toUtf8(std::string_view bytes) const override {
    if (bytes.empty()) return {};
    UErrorCode status = U_ZERO_ERROR;
    std::vector<UChar> utf16(bytes.size() * 2 + 2);
    UChar* target = utf16.data();
    const char* source = bytes.data();
    // Flushing makes a sequence cut off at the end a substitute too.
    icu_->toUnicode(converter_, &target, utf16.data() + utf16.size(), &source,
                    bytes.data() + bytes.size(), nullptr, true, &status);
    icu_->reset(converter_);
    if (U_FAILURE(status)) return {};
    const auto units = static_cast<int32_t>(target - utf16.data());
    std::string utf8;
    for (int32_t i = 0; i < units; ++i) appendCodePoint(utf8, utf16, i, units);
    return utf8;
  }

 private:
  static void appendCodePoint(std::string& out, const std::vector<UChar>& utf16, int32_t& i,
                              int32_t units) {
    uint32_t c = utf16[static_cast<std::size_t>(i)];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units) {
      const uint32_t low = utf16[static_cast<std::size_t>(i + 1)];
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }

  std::shared_ptr<const IcuLibrary> icu_;
  UConverter* converter_;
};

std::string converterName(int codePage) { return "windows-" + std::to_string(codePage); }

}  // namespace

std::unique_ptr<TextDecoder> makeTextDecoder(int codePage) {
  if (codePage <= 0) return nullptr;
  std::shared_ptr<const IcuLibrary> icu = IcuLibrary::load();
  if (icu == nullptr) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = icu->open(converterName(codePage).c_str(), &status);
  if (U_FAILURE(status)) return nullptr;
  status = U_ZERO_ERROR;
  icu->setToUCallBack(converter, replaceWithFffd, icu.get(), nullptr, nullptr, &status);
  return std::make_unique<IcuDecoder>(std::move(icu), converter);
}

namespace {

// UTF-16 of UTF-8 text; a byte that starts no well-formed sequence is U+FFFD.
std::vector<UChar> utf16Of(std::string_view utf8) {
  std::vector<UChar> utf16;
  utf16.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const auto lead = static_cast<uint8_t>(utf8[at]);
    std::size_t length = 0;
    uint32_t c = 0;
    uint32_t least = 0;
    if (lead < 0x80) {
      length = 1;
      c = lead;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      length = 2;
      c = lead & 0x1F;
      least = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3;
      c = lead & 0x0F;
      least = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      length = 4;
      c = lead & 0x07;
      least = 0x10000;
    }
    bool good = length != 0 && length <= utf8.size() - at;
    for (std::size_t k = 1; good && k < length; ++k) {
      const auto next = static_cast<uint8_t>(utf8[at + k]);
      good = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (good && length > 1) good = c >= least && c <= 0x10FFFF && (c < 0xD800 || c >= 0xE000);
    if (!good) {
      utf16.push_back(0xFFFD);
      ++at;
      continue;
    }
    if (c >= 0x10000) {
      utf16.push_back(static_cast<UChar>(0xD800 + ((c - 0x10000) >> 10)));
      utf16.push_back(static_cast<UChar>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      utf16.push_back(static_cast<UChar>(c));
    }
    at += length;
  }
  return utf16;
}

}  // namespace

std::string utf8ToCodePage(std::string_view utf8, int codePage) {
  if (codePage <= 0) return {};
  std::shared_ptr<const IcuLibrary> icu = IcuLibrary::load();
  if (icu == nullptr) return {};
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = icu->open(converterName(codePage).c_str(), &status);
  if (U_FAILURE(status)) return {};
  // '?' rather than the code page's own substitute (0x1A, or 0xFC 0xFC).
  icu->setSubstChars(converter, "?", 1, &status);
  const std::vector<UChar> utf16 = utf16Of(utf8);
  std::string text(utf16.size() * 4 + 1, '\0');
  const int32_t length = icu->fromUChars(converter, text.data(), static_cast<int32_t>(text.size()),
                                         utf16.data(), static_cast<int32_t>(utf16.size()), &status);
  icu->close(converter);
  if (U_FAILURE(status)) return {};
  text.resize(static_cast<std::size_t>(length));
  return text;
}

bool codePageKnown(int codePage) {
  if (codePage <= 0) return false;
  const std::shared_ptr<const IcuLibrary> icu = IcuLibrary::load();
  if (icu == nullptr) return false;
  UErrorCode status = U_ZERO_ERROR;
  const uint16_t names = icu->countAliases(converterName(codePage).c_str(), &status);
  return U_SUCCESS(status) && names > 0;
}

int defaultCodePage() { return 1252; }

}  // namespace morvane::platform
