#include "ui/control.h"

namespace morvane::ui {

void Control::setText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }

std::string Control::text() const { return windowText(hwnd_); }

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace morvane::ui
