// An exception from the program's code stops at the Win32 callback that
// called it, which answers as if nothing had handled the call: unwinding
// through the system's frames would end the process.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "resource.h"
#include "ui/dialog.h"
#include "ui/list_view_control.h"

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

TEST(CallbackTest, SortCallbackSurvivesAThrowingComparison) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&controls));
  HWND window = CreateWindowExA(0, WC_LISTVIEWA, "", LVS_REPORT, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  ListViewControl list;
  list.attach(window);
  for (int row = 0; row < 3; ++row) {
    list.insertItem(row, "row");
    list.setItemData(row, row);
  }
  int calls = 0;
  list.sortItems(
      [&calls](intptr_t, intptr_t, intptr_t) -> int {
        ++calls;
        throw std::runtime_error("comparison failed");
      },
      0);
  EXPECT_GT(calls, 0);
  EXPECT_EQ(list.getItemCount(), 3);
  DestroyWindow(window);
}

}  // namespace
}  // namespace morvane::ui::testing
