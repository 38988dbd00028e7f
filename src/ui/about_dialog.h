// The About box: the icon, the version line and OK.
#pragma once

#include "resource.h"
#include "ui/dialog.h"

namespace morvane::ui {

class AboutDialog : public Dialog {
 public:
  AboutDialog() : Dialog(IDD_ABOUTBOX) {}
};

}  // namespace morvane::ui
