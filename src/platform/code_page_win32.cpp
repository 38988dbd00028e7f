// Code page rules from the C runtime, in the process's ANSI code page.
#include <locale.h>
#include <mbctype.h>
#include <mbstring.h>
#include <windows.h>

#include <climits>
#include <string>

#include "platform/code_page.h"

namespace morvane::platform {
namespace {

const unsigned char* bytes(const std::string& text) {
  return reinterpret_cast<const unsigned char*>(text.c_str());
}

int sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

class CrtCodePage final : public CodePage {
 public:
  explicit CrtCodePage(int number) : number_(number) {}

  int number() const override { return number_; }
  bool isLeadByte(uint8_t byte) const override { return _ismbblead(byte) != 0; }

  std::string toUpper(std::string_view text) const override {
    std::string upper(text);
    // Most names are plain ASCII, where only a-z change: no call into the
    // runtime (slow under Wine) for each of a filter's 200,000 texts.
    bool ascii = true;
    for (char& c : upper) {
      if (static_cast<uint8_t>(c) >= 0x80) {
        ascii = false;
        break;
      }
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (!ascii) {
      upper.assign(text);
      _mbsupr(reinterpret_cast<unsigned char*>(upper.data()));
    }
    return upper;
  }

  int compareBytes(std::string_view a, std::string_view b) const override {
    return sign(_mbscmp(bytes(std::string(a)), bytes(std::string(b))));
  }

  int collate(std::string_view a, std::string_view b) const override {
    const int result = _mbscoll(bytes(std::string(a)), bytes(std::string(b)));
    return result == _NLSCMPERROR ? kCollateError : sign(result);
  }

  // The runtime's collation is the system's string comparison in the user's
  // locale, with no flags; its sort keys order as that comparison does.
  bool sortKey(std::string_view text, std::string& key) const override {
    const std::string terminated(text);
    // One call where the usual room suffices: under Wine each call costs.
    key.resize(text.size() * 8 + 32);
    int written = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, terminated.c_str(), -1,
                               key.data(), static_cast<int>(key.size()));
    if (written <= 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
      const int size =
          LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, terminated.c_str(), -1, nullptr, 0);
      if (size <= 0) return false;
      key.resize(static_cast<std::size_t>(size));
      written = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, terminated.c_str(), -1,
                             key.data(), size);
    }
    if (written <= 0) return false;
    key.resize(static_cast<std::size_t>(written));
    return true;
  }

 private:
  int number_;
};

}  // namespace

std::unique_ptr<CodePage> makeSystemCodePage() {
  // The CRT starts in the "C" locale; the program's text is in the system's
  // ANSI code page, for collation and for the multi-byte tables alike.
  setlocale(LC_ALL, "");
  _setmbcp(_MB_CP_ANSI);
  return std::make_unique<CrtCodePage>(static_cast<int>(GetACP()));
}

std::unique_ptr<CodePage> makeCodePage(int codePage) {
  if (codePage != static_cast<int>(GetACP())) return nullptr;
  return makeSystemCodePage();
}

}  // namespace morvane::platform
