#include "ui/data_exchange.h"

namespace morvane::ui {

void DataExchange::control(int id, Control& control) const {
  if (control.hwnd() == nullptr) control.attach(GetDlgItem(dialog_, id));
}

void DataExchange::text(int id, std::string& value) const {
  HWND item = GetDlgItem(dialog_, id);
  if (saving_)
    value = windowText(item);
  else
    SetWindowTextA(item, value.c_str());
}

}  // namespace morvane::ui
