// The application: runs the main window and ends with it.
#pragma once

namespace morvane::ui {

class ManagerApp {
 public:
  // Runs the main window modally; false, so that the program then ends.
  bool InitInstance();
};

}  // namespace morvane::ui
