#include "ui/resource_text.h"

#include <vector>

namespace morvane::ui {

std::string loadResourceString(UINT id) {
  char text[512] = {};
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::string ansiFromUtf8(const char* text) {
  const int wide = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (wide <= 0) return {};
  std::vector<wchar_t> utf16(static_cast<std::size_t>(wide));
  MultiByteToWideChar(CP_UTF8, 0, text, -1, utf16.data(), wide);
  const int bytes = WideCharToMultiByte(CP_ACP, 0, utf16.data(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, utf16.data(), -1, ansi.data(), bytes, nullptr, nullptr);
  ansi.resize(static_cast<std::size_t>(bytes - 1));
  return ansi;
}

}  // namespace morvane::ui
