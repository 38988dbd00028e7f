// An exception from the program's code stops at the Win32 callback that
// called it, which answers as if nothing had handled the call: unwinding
// through the system's frames would end the process.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "resource.h"
#include "ui/dialog.h"

namespace morvane::ui::testing {
namespace {

class ThrowingDialog : public Dialog {
 public:
  ThrowingDialog() : Dialog(IDD_ABOUTBOX) {}

 protected:
  bool dispatch(UINT message, WPARAM, LPARAM, INT_PTR&) override {
    if (message == WM_CTLCOLORDLG) throw std::runtime_error("handler failed");
    return false;
  }
};

TEST(CallbackTest, DialogProcedureAnswersAThrowingHandlersMessageAsUnhandled) {
  Dialog plain(IDD_ABOUTBOX);
  ThrowingDialog throwing;
  ASSERT_NE(plain.create(nullptr), nullptr);
  ASSERT_NE(throwing.create(nullptr), nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  const auto colourAnswer = [dc](HWND window) {
    return SendMessageA(window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(window));
  };
  EXPECT_EQ(colourAnswer(throwing.hwnd()), colourAnswer(plain.hwnd()));
  DeleteDC(dc);
}

}  // namespace
}  // namespace morvane::ui::testing
