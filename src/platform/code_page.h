// Multi-byte text rules of one ANSI code page: lead bytes, upper-casing,
// substring search, byte-wise and locale ordering. All text stays in the code
// page's own bytes; nothing here converts a string the caller keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace morvane::platform {

class CodePage {
 public:
  // What collate() answers when it cannot order the two strings (the CRT's
  // _NLSCMPERROR); callers then fall back to compareBytes().
  static constexpr int kCollateError = 0x7fffffff;
  static constexpr std::size_t npos = std::string_view::npos;

  virtual ~CodePage() = default;

  // The Windows code page number (932, 1252, ...).
  virtual int number() const = 0;

  // True when the byte starts a double-byte character.
  virtual bool isLeadByte(uint8_t byte) const = 0;

  // Upper-case copy: a-z through the single-byte table, every double-byte
  // character through the code page's upper-case mapping (full-width letters
  // included). Bytes it cannot map stay as they are.
  virtual std::string toUpper(std::string_view text) const = 0;

  // Position of the first occurrence of needle in text that starts on a
  // character boundary, or npos. An empty needle matches at 0. Built on
  // isLeadByte() for every code page: Wine's _mbsstr is a plain strstr.
  virtual std::size_t find(std::string_view text, std::string_view needle) const;

  // Byte-wise order in which a double-byte character is one unit, lead byte
  // first: -1, 0 or +1.
  virtual int compareBytes(std::string_view a, std::string_view b) const = 0;

  // Locale collation of the code page's language: -1, 0 or +1, or
  // kCollateError when either string cannot be collated.
  virtual int collate(std::string_view a, std::string_view b) const = 0;

  // The collation's sort key of text: keys compared as bytes (unsigned, the
  // shorter first where one begins the other) order their texts as
  // collate() does. False, and key unspecified, when the collation refuses
  // the text; callers then compare it with compareBytes().
  virtual bool sortKey(std::string_view text, std::string& key) const = 0;

  // Length in bytes of the character starting at offset (1 or 2; 1 for a lead
  // byte at the very end).
  std::size_t charLength(std::string_view text, std::size_t offset) const;
};

// The rules of the given Windows code page, or null when this build cannot
// provide them. On Windows only the process's ANSI code page is available.
std::unique_ptr<CodePage> makeCodePage(int codePage);

// The rules of the system's ANSI code page (Windows: GetACP()). Without a
// system code page (POSIX) this is code page 1252.
std::unique_ptr<CodePage> makeSystemCodePage();

}  // namespace morvane::platform
