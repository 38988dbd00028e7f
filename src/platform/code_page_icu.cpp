// The code page rules on POSIX systems, through ICU, for a named code page.
#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <array>
#include <cstring>
#include <vector>

#include "platform/code_page.h"

namespace morvane::platform {
namespace {

// The collation a Windows system of that code page's language uses.
const char* localeFor(int number) {
  switch (number) {
    case 932:
      return "ja";
    case 936:
      return "zh";
    case 949:
      return "ko";
    case 950:
      return "zh_Hant";
    case 1250:
      return "pl";
    case 1251:
      return "ru";
    case 1253:
      return "el";
    case 1254:
      return "tr";
    case 1255:
      return "he";
    case 1256:
      return "ar";
    case 1257:
      return "lt";
    case 1258:
      return "vi";
    default:
      return "en";
  }
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
struct CollatorCloser {
  void operator()(UCollator* c) const { ucol_close(c); }
};

class IcuCodePage : public CodePage {
 public:
  IcuCodePage(int number, UConverter* converter, UCollator* collator)
      : number_(number), converter_(converter), collator_(collator) {
    UErrorCode status = U_ZERO_ERROR;
    UBool starters[256] = {};
    if (ucnv_getType(converter) != UCNV_SBCS) ucnv_getStarters(converter, starters, &status);
    for (int i = 0; i < 256; ++i) lead_[i] = U_SUCCESS(status) && starters[i];
    // Text the converter cannot map must make collation fail, not guess.
    status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  }

  int number() const override { return number_; }
  bool isLeadByte(unsigned char byte) const override { return lead_[byte]; }

  std::string toUpper(const std::string& text) const override {
    std::string upper;
    upper.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
      const std::size_t width = characterWidth(text, i);
      upper += upperCharacter(text.substr(i, width));
      i += width;
    }
    return upper;
  }

  bool contains(const std::string& haystack, const std::string& needle) const override {
    if (needle.size() > haystack.size()) return false;
    for (std::size_t i = 0; i + needle.size() <= haystack.size();
         i += characterWidth(haystack, i)) {
      if (std::memcmp(haystack.data() + i, needle.data(), needle.size()) == 0) return true;
    }
    return false;
  }

  int compareBytes(const std::string& a, const std::string& b) const override {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
      const unsigned unitA = unitAt(a, i);
      const unsigned unitB = unitAt(b, j);
      if (unitA != unitB) return unitA < unitB ? -1 : 1;
      i += characterWidth(a, i);
      j += characterWidth(b, j);
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
  }

  int collate(const std::string& a, const std::string& b) const override {
    std::u16string wideA;
    std::u16string wideB;
    if (!toUnicode(a, wideA) || !toUnicode(b, wideB)) return kCollateError;
    const UCollationResult r =
        ucol_strcoll(collator_.get(), wideA.data(), static_cast<int32_t>(wideA.size()),
                     wideB.data(), static_cast<int32_t>(wideB.size()));
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
  }

  std::size_t findLastBackslash(const std::string& path) const override {
    std::size_t last = kNoBackslash;
    for (std::size_t i = 0; i < path.size(); i += characterWidth(path, i)) {
      if (path[i] == '\\') last = i;
    }
    return last;
  }

 private:
  // A lead byte with its trail is one character; a lead byte at the very end
  // stands alone.
  std::size_t characterWidth(const std::string& text, std::size_t i) const {
    return isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }

  unsigned unitAt(const std::string& text, std::size_t i) const {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (characterWidth(text, i) == 1) return lead;
    return (unsigned{lead} << 8) | static_cast<unsigned char>(text[i + 1]);
  }

  bool toUnicode(const std::string& text, std::u16string& out) const {
    UErrorCode status = U_ZERO_ERROR;
    out.resize(text.size() * 2 + 2);
    const int32_t length =
        ucnv_toUChars(converter_.get(), out.data(), static_cast<int32_t>(out.size()), text.data(),
                      static_cast<int32_t>(text.size()), &status);
    ucnv_reset(converter_.get());
    if (U_FAILURE(status)) return false;
    out.resize(static_cast<std::size_t>(length));
    return true;
  }

  // Upper-cases one character; one that does not map back to as many bytes
  // of this code page stays as it is.
  std::string upperCharacter(const std::string& character) const {
    if (character.size() == 1) {
      const char c = character[0];
      if (c >= 'a' && c <= 'z') return std::string(1, static_cast<char>(c - 'a' + 'A'));
      if (static_cast<unsigned char>(c) < 0x80) return character;
    }
    std::u16string wide;
    if (!toUnicode(character, wide)) return character;
    std::array<UChar, 8> upper{};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        u_strToUpper(upper.data(), static_cast<int32_t>(upper.size()), wide.data(),
                     static_cast<int32_t>(wide.size()), "", &status);
    if (U_FAILURE(status)) return character;
    char bytes[16];
    status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(converter_.get(), bytes, sizeof bytes, upper.data(), length, &status);
    ucnv_reset(converter_.get());
    if (U_FAILURE(status) || static_cast<std::size_t>(written) != character.size())
      return character;
    return std::string(bytes, static_cast<std::size_t>(written));
  }

  int number_;
  std::unique_ptr<UConverter, ConverterCloser> converter_;
  std::unique_ptr<UCollator, CollatorCloser> collator_;
  std::array<bool, 256> lead_{};
};

}  // namespace

std::unique_ptr<CodePage> openCodePage(int number) {
  if (number <= 0) return nullptr;  // there is no system code page to take here
  UErrorCode status = U_ZERO_ERROR;
  const std::string name = "windows-" + std::to_string(number);
  UConverter* converter = ucnv_open(name.c_str(), &status);
  if (U_FAILURE(status)) return nullptr;
  status = U_ZERO_ERROR;
  UCollator* collator = ucol_open(localeFor(number), &status);
  if (U_FAILURE(status)) {
    ucnv_close(converter);
    return nullptr;
  }
  return std::make_unique<IcuCodePage>(number, converter, collator);
}

}  // namespace morvane::platform
