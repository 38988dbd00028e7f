// A child window of a dialog, attached once when the dialog binds its
// controls. Texts are ANSI code page bytes.
#pragma once

#include <windows.h>

#include <string>

namespace morvane::ui {

class Control {
 public:
  void attach(HWND window) { hwnd_ = window; }
  HWND hwnd() const { return hwnd_; }

  void setText(const std::string& text) const;
  std::string text() const;

 private:
  HWND hwnd_ = nullptr;
};

// Text of any window, as the A functions give it.
std::string windowText(HWND window);

}  // namespace morvane::ui
