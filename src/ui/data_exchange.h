// Moves values between a dialog's members and its controls, in one
// direction per call: saving copies the controls into the members.
#pragma once

#include <windows.h>

#include <string>

#include "ui/control.h"

namespace morvane::ui {

class DataExchange {
 public:
  DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}

  bool saving() const { return saving_; }

  // Binds control to the dialog's child id; rebinding does nothing.
  void control(int id, Control& control) const;
  // The text of the child id and value, copied in the exchange's direction.
  void text(int id, std::string& value) const;

 private:
  HWND dialog_;
  bool saving_;
};

}  // namespace morvane::ui
