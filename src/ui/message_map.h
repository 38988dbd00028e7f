// The table that binds a dialog's messages, commands and notifications to
// its member handlers. Each dialog keeps one static table of entries made by
// the helpers below; the first matching entry handles the message.
#pragma once

#include <windows.h>

namespace morvane::ui {

template <class D>
class MessageMap {
 public:
  // True when the message was handled; result is what the dialog procedure
  // answers for it (or the notification result).
  using Invoke = bool (*)(D& dialog, WPARAM wParam, LPARAM lParam, INT_PTR& result);

  struct Entry {
    UINT message;  // WM_COMMAND, WM_NOTIFY or any other message
    UINT_PTR id;   // command or control id (WM_COMMAND, WM_NOTIFY only)
    UINT code;     // notification code (WM_COMMAND, WM_NOTIFY only)
    Invoke invoke;
  };

  // A button click or a menu command: handler().
  template <void (D::*Handler)()>
  static Entry command(UINT_PTR id, UINT code = BN_CLICKED) {
    return {WM_COMMAND, id, code, [](D& dialog, WPARAM, LPARAM, INT_PTR&) {
              (dialog.*Handler)();
              return true;
            }};
  }

  // A control's WM_NOTIFY: handler(header, &result).
  template <void (D::*Handler)(NMHDR*, LRESULT*)>
  static Entry notify(UINT_PTR id, UINT code) {
    return {WM_NOTIFY, id, code, [](D& dialog, WPARAM, LPARAM lParam, INT_PTR& result) {
              LRESULT notifyResult = 0;
              (dialog.*Handler)(reinterpret_cast<NMHDR*>(lParam), &notifyResult);
              result = notifyResult;
              return true;
            }};
  }

  // Any other message: handler(wParam, lParam, result) answers false to
  // leave the message to the system's default processing.
  template <bool (D::*Handler)(WPARAM, LPARAM, INT_PTR&)>
  static Entry message(UINT message) {
    return {message, 0, 0, [](D& dialog, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
              return (dialog.*Handler)(wParam, lParam, result);
            }};
  }

  template <std::size_t N>
  static bool dispatch(const Entry (&table)[N], D& dialog, UINT message, WPARAM wParam,
                       LPARAM lParam, INT_PTR& result) {
    for (const Entry& entry : table) {
      if (matches(entry, message, wParam, lParam))
        return entry.invoke(dialog, wParam, lParam, result);
    }
    return false;
  }

 private:
  static bool matches(const Entry& entry, UINT message, WPARAM wParam, LPARAM lParam) {
    if (entry.message != message) return false;
    if (message == WM_COMMAND) return LOWORD(wParam) == entry.id && HIWORD(wParam) == entry.code;
    if (message == WM_NOTIFY) {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      return header != nullptr && header->idFrom == entry.id && header->code == entry.code;
    }
    return true;
  }
};

}  // namespace morvane::ui
