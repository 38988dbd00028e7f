// The one place where names pass between UTF-8, UTF-16 and the ANSI code page.
#include "platform/exact_path_win32.h"

#include <windows.h>

#include "platform/exact_path.h"

namespace morvane::platform {
namespace {

std::wstring toWide(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), units);
  return wide;
}

// Without flags the conversion falls back to best-fit look-alikes and then to
// the default character, which is what FindFirstFileA shows.
std::string fromWide(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return {};
  const int units = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(codePage, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), units, text.data(), bytes, nullptr, nullptr);
  return text;
}

}  // namespace

std::wstring wideFromExact(const std::string& exact) { return toWide(CP_UTF8, exact); }
std::string exactFromWide(const std::wstring& wide) { return fromWide(CP_UTF8, wide); }
std::string ansiFromWide(const std::wstring& wide) { return fromWide(CP_ACP, wide); }

std::wstring wideFromAnsi(const std::string& ansi) { return toWide(CP_ACP, ansi); }
std::string exactFromAnsi(const std::string& ansi) { return exactFromWide(wideFromAnsi(ansi)); }
std::string ansiFromExact(const std::string& exact) { return ansiFromWide(wideFromExact(exact)); }
std::string ansiFromUtf8(const std::string& utf8) { return ansiFromWide(toWide(CP_UTF8, utf8)); }

}  // namespace morvane::platform
