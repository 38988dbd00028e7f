#include "archive/text_fold.h"

#include <cstdint>

namespace morvane::archive {
namespace {

// The code point at text[i], with its length; 0 length for an invalid byte.
char32_t decodeAt(std::string_view text, std::size_t i, std::size_t& length) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  length = 0;
  std::size_t count = 0;
  char32_t code = 0;
  if (lead < 0x80) {
    length = 1;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    count = 2, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    count = 3, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    count = 4, code = lead & 0x07;
  } else {
    return 0;
  }
  if (count > text.size() - i) return 0;
  for (std::size_t k = 1; k < count; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(k) & 0x3F);
  }
  length = count;
  return code;
}

void encode(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Capitals and small letters in pairs (even capital, odd small) within these ranges.
bool pairedCase(char32_t c) {
  return (c >= 0x0100 && c <= 0x017F && c != 0x0130 && c != 0x0131 && c != 0x0138 &&
          !(c >= 0x0139 && c <= 0x0148) && !(c >= 0x0179 && c <= 0x017E)) ||
         (c >= 0x01DE && c <= 0x01EF) || (c >= 0x0200 && c <= 0x0233) ||
         (c >= 0x03D8 && c <= 0x03EF) || (c >= 0x0460 && c <= 0x0481) ||
         (c >= 0x048A && c <= 0x04BF) || (c >= 0x04D0 && c <= 0x052F) ||
         (c >= 0x1E00 && c <= 0x1E95) || (c >= 0x1EA0 && c <= 0x1EFF);
}

// The same with the capital odd.
bool oddCapital(char32_t c) {
  return (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E) ||
         (c >= 0x04C1 && c <= 0x04CE);
}

char32_t fold(char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) c = c - 0xFF01 + 0x21;  // full-width ASCII
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c < 0xC0) return c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;  // Latin-1
  if (c == 0x0178) return 0xFF;  // Y with diaeresis, whose small letter is Latin-1's
  if (pairedCase(c)) return c | 1;
  if (oddCapital(c)) return (c & 1) ? c + 1 : c;
  if (c >= 0x0391 && c <= 0x03AB && c != 0x03A2) return c + 32;  // Greek
  if (c == 0x03C2) return 0x03C3;                                // final sigma
  if (c >= 0x0410 && c <= 0x042F) return c + 32;                 // Cyrillic
  if (c >= 0x0400 && c <= 0x040F) return c + 80;
  if (c >= 0x0531 && c <= 0x0556) return c + 48;  // Armenian
  return c;
}

}  // namespace

std::string foldForSearch(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t length = 0;
    const char32_t code = decodeAt(utf8, i, length);
    if (length == 0) {
      out += utf8[i++];
      continue;
    }
    encode(fold(code), out);
    i += length;
  }
  return out;
}

}  // namespace morvane::archive
