// The dialog layer: a dialog built from a template, its procedure, its modal
// loop with message pre-translation, and data exchange with its controls.
#pragma once

#include <windows.h>

#include "ui/data_exchange.h"

namespace morvane::ui {

class Dialog {
 public:
  // A Unicode dialog's controls hold UTF-16 text, so that they show any
  // script; the others hold the ANSI code page's bytes.
  explicit Dialog(int templateId, bool unicode = false)
      : templateId_(templateId), unicode_(unicode) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates the window modelessly; null when the template could not be used.
  HWND create(HWND parent);
  // Creates the window, runs it until it ends and destroys it; the end
  // result, or -1 when the window could not be created.
  INT_PTR DoModal(HWND parent = nullptr);

  // Every message of the thread passes here while the dialog runs modally;
  // true when it was consumed.
  virtual BOOL PreTranslateMessage(MSG* message);

  // Saving: controls into members; otherwise members into controls.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  HWND hwnd() const { return hwnd_; }
  bool ended() const { return ended_; }
  INT_PTR endResult() const { return endResult_; }

 protected:
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(DataExchange& exchange);
  virtual void OnOK();
  virtual void OnCancel();
  // The dialog's message table; false leaves the message to the system.
  virtual bool dispatch(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

  void EndDialog(INT_PTR result);
  HWND item(int id) const { return GetDlgItem(hwnd_, id); }

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  bool unicode_;
  HWND hwnd_ = nullptr;
  bool ended_ = false;
  INT_PTR endResult_ = 0;
};

}  // namespace morvane::ui
