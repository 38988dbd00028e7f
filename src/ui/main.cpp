// The program's entry point.
#include <windows.h>

#include "ui/manager_app.h"

namespace {
// The one application object, alive for the whole process.
morvane::ui::ManagerApp theApp;
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  theApp.InitInstance();
  return 0;
}
