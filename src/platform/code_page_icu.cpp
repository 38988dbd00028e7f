// Code page rules from ICU, for a code page named by the caller.
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "platform/code_page.h"

namespace morvane::platform {
namespace {

struct CodePageInfo {
  int number;
  const char* converter;  // ICU converter name of the Windows code page
  const char* collation;  // locale whose collation the code page's users expect
  // Lead-byte ranges as Windows reports them; none for single-byte pages.
  std::array<std::array<uint8_t, 2>, 2> leadRanges;
};

constexpr CodePageInfo kCodePages[] = {
    {932, "windows-932", "ja", {{{0x81, 0x9F}, {0xE0, 0xFC}}}},
    {936, "windows-936", "zh", {{{0x81, 0xFE}, {0, 0}}}},
    {949, "windows-949", "ko", {{{0x81, 0xFE}, {0, 0}}}},
    {950, "windows-950", "zh_Hant", {{{0x81, 0xFE}, {0, 0}}}},
    {1250, "windows-1250", "pl", {}},
    {1251, "windows-1251", "ru", {}},
    {1252, "windows-1252", "en", {}},
    {1253, "windows-1253", "el", {}},
    {1254, "windows-1254", "tr", {}},
    {1255, "windows-1255", "he", {}},
    {1256, "windows-1256", "ar", {}},
    {1257, "windows-1257", "lt", {}},
    {1258, "windows-1258", "vi", {}},
};

const CodePageInfo* findInfo(int number) {
  for (const CodePageInfo& info : kCodePages) {
    if (info.number == number) return &info;
  }
  return nullptr;
}

class IcuCodePage final : public CodePage {
 public:
  IcuCodePage(const CodePageInfo& info, UConverter* converter, UCollator* collator)
      : info_(info), converter_(converter), collator_(collator) {
    for (const auto& range : info.leadRanges) {
      if (range[0] == 0) continue;
      for (unsigned b = range[0]; b <= range[1]; ++b) lead_[b] = true;
    }
    asciiIsUnicode_ = decodesAsciiUnchanged();
  }
  ~IcuCodePage() override {
    ucol_close(collator_);
    ucnv_close(converter_);
  }
  IcuCodePage(const IcuCodePage&) = delete;
  IcuCodePage& operator=(const IcuCodePage&) = delete;

  int number() const override { return info_.number; }
  bool isLeadByte(uint8_t byte) const override { return lead_[byte]; }

  std::string toUpper(std::string_view text) const override {
    std::string upper(text);
    for (std::size_t i = 0; i < upper.size();) {
      const std::size_t length = charLength(upper, i);
      const auto byte = static_cast<uint8_t>(upper[i]);
      if (length == 1 && byte < 0x80) {
        if (byte >= 'a' && byte <= 'z') upper[i] = static_cast<char>(byte - 'a' + 'A');
      } else {
        upperCharacter(upper, i, length);
      }
      i += length;
    }
    return upper;
  }

  int compareBytes(std::string_view a, std::string_view b) const override {
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
      const unsigned ca = unitAt(a, i);
      const unsigned cb = unitAt(b, j);
      if (ca != cb) return ca > cb ? 1 : -1;
      if (ca == 0) return 0;
    }
  }

  int collate(std::string_view a, std::string_view b) const override {
    // Most names are plain ASCII, which is already UTF-8: the collator reads
    // them in place, with no conversion for each of a sort's comparisons.
    if (asciiIsUnicode_ && isAscii(a) && isAscii(b)) {
      UErrorCode status = U_ZERO_ERROR;
      const UCollationResult result =
          ucol_strcollUTF8(collator_, a.data(), static_cast<int32_t>(a.size()), b.data(),
                           static_cast<int32_t>(b.size()), &status);
      return U_FAILURE(status) ? kCollateError : sign(result);
    }
    std::u16string ua;
    std::u16string ub;
    if (!decode(a, ua) || !decode(b, ub)) return kCollateError;
    return sign(ucol_strcoll(collator_, ua.data(), static_cast<int32_t>(ua.size()), ub.data(),
                             static_cast<int32_t>(ub.size())));
  }

  bool sortKey(std::string_view text, std::string& key) const override {
    std::u16string unicode;
    if (!decode(text, unicode)) return false;
    const auto length = static_cast<int32_t>(unicode.size());
    key.resize(std::max<std::size_t>(key.capacity(), 64));
    int32_t size = ucol_getSortKey(collator_, unicode.data(), length,
                                   reinterpret_cast<uint8_t*>(key.data()),
                                   static_cast<int32_t>(key.size()));
    if (size <= 0) return false;
    if (static_cast<std::size_t>(size) > key.size()) {
      key.resize(static_cast<std::size_t>(size));
      size = ucol_getSortKey(collator_, unicode.data(), length,
                             reinterpret_cast<uint8_t*>(key.data()), size);
    }
    key.resize(static_cast<std::size_t>(size));
    return true;
  }

 private:
  static int sign(UCollationResult result) {
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
  }

  static bool isAscii(std::string_view text) {
    for (const char c : text) {
      if (static_cast<uint8_t>(c) >= 0x80) return false;
    }
    return true;
  }

  // Whether every byte below 0x80 decodes to the same code point, so ASCII
  // text may go to the collator as it stands.
  bool decodesAsciiUnchanged() const {
    std::string ascii(0x7F, '\0');
    for (std::size_t i = 0; i < ascii.size(); ++i) ascii[i] = static_cast<char>(i + 1);
    std::u16string decoded;
    if (!decode(ascii, decoded) || decoded.size() != ascii.size()) return false;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
      if (decoded[i] != static_cast<char16_t>(i + 1)) return false;
    }
    return true;
  }

  // One character unit as the CRT's byte-wise comparison sees it: a lead
  // byte and its trail as one number, 0 at the end (a lone lead byte at the
  // end counts as the end). Moves the position past it.
  unsigned unitAt(std::string_view text, std::size_t& position) const {
    if (position >= text.size()) return 0;
    const auto first = static_cast<uint8_t>(text[position++]);
    if (!isLeadByte(first)) return first;
    if (position >= text.size() || text[position] == '\0') return 0;
    return (unsigned{first} << 8) | static_cast<uint8_t>(text[position++]);
  }

  bool decode(std::string_view text, std::u16string& out) const {
    out.resize(text.size() + 1);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter_, out.data(), static_cast<int32_t>(out.size()),
                                         text.data(), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) return false;
    out.resize(static_cast<std::size_t>(length));
    return true;
  }

  // Replaces the character at offset by its upper-case form when that form
  // exists in the code page with the same byte length.
  void upperCharacter(std::string& text, std::size_t offset, std::size_t length) const {
    std::u16string unit;
    if (!decode(std::string_view(text).substr(offset, length), unit) || unit.size() != 1) return;
    const UChar32 upper = u_toupper(unit[0]);
    if (upper == unit[0] || upper > 0xFFFF) return;
    const UChar source[1] = {static_cast<UChar>(upper)};
    char encoded[8];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(converter_, encoded, sizeof encoded, source, 1, &status);
    if (U_FAILURE(status) || static_cast<std::size_t>(written) != length) return;
    text.replace(offset, length, encoded, length);
  }

  const CodePageInfo& info_;
  UConverter* converter_;
  UCollator* collator_;
  std::array<bool, 256> lead_ = {};
  bool asciiIsUnicode_ = false;
};

}  // namespace

std::unique_ptr<CodePage> makeCodePage(int codePage) {
  const CodePageInfo* info = findInfo(codePage);
  if (info == nullptr) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(info->converter, &status);
  if (U_FAILURE(status)) return nullptr;
  // Invalid or unmappable bytes stop a conversion instead of turning into
  // substitutes, so collation can report them.
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  UCollator* collator = ucol_open(info->collation, &status);
  if (U_FAILURE(status)) {
    ucol_close(collator);
    ucnv_close(converter);
    return nullptr;
  }
  return std::make_unique<IcuCodePage>(*info, converter, collator);
}

std::unique_ptr<CodePage> makeSystemCodePage() { return makeCodePage(1252); }

}  // namespace morvane::platform
