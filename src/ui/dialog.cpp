#include "ui/dialog.h"

namespace morvane::ui {
namespace {

// Messages whose answer is the procedure's own return value rather than
// DWLP_MSGRESULT.
bool answersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

}  // namespace

Dialog::~Dialog() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

HWND Dialog::create(HWND parent) {
  ended_ = false;
  if (unicode_) {
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                              &Dialog::procedure, reinterpret_cast<LPARAM>(this));
  }
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent,
                            &Dialog::procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModal(HWND parent) {
  if (parent != nullptr) EnableWindow(parent, FALSE);
  if (create(parent) == nullptr) {
    if (parent != nullptr) EnableWindow(parent, TRUE);
    return -1;
  }
  // A template without WS_VISIBLE (the About box) is shown here, as the
  // framework's modal loop does; otherwise it would run unseen.
  if (!ended_ && !IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOWNORMAL);
  MSG message;
  while (!ended_) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
      break;
    }
    if (got < 0) break;
    if (!PreTranslateMessage(&message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (parent != nullptr) {
    EnableWindow(parent, TRUE);
    SetActiveWindow(parent);
  }
  DestroyWindow(hwnd_);
  return endResult_;
}

BOOL Dialog::PreTranslateMessage(MSG* message) {
  return hwnd_ != nullptr && IsDialogMessageA(hwnd_, message);
}

BOOL Dialog::UpdateData(BOOL saveAndValidate) {
  if (hwnd_ == nullptr) return FALSE;
  DataExchange exchange(hwnd_, saveAndValidate != FALSE);
  DoDataExchange(exchange);
  return TRUE;
}

BOOL Dialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() { EndDialog(IDOK); }

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::dispatch(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

void Dialog::EndDialog(INT_PTR result) {
  ended_ = true;
  endResult_ = result;
  if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
  PostMessageA(nullptr, WM_NULL, 0, 0);  // wakes the modal loop
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* dialog = nullptr;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    dialog->hwnd_ = window;
  } else {
    dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  if (dialog == nullptr) return FALSE;
  INT_PTR answer = FALSE;
  // An exception cannot unwind through the system's frames: a handler that
  // throws leaves its message unhandled.
  try {
    answer = dialog->handle(message, wParam, lParam);
  } catch (...) {
    answer = FALSE;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    dialog->hwnd_ = nullptr;
  }
  return answer;
}

INT_PTR Dialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  INT_PTR result = 0;
  if (dispatch(message, wParam, lParam, result)) {
    if (answersDirectly(message)) return result;
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace morvane::ui
