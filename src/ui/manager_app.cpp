#include "ui/manager_app.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "ui/main_dialog.h"

namespace morvane::ui {

bool ManagerApp::InitInstance() {
  // The list view needs the common controls registered; the folder picker
  // needs COM on this thread.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    MainDialog dialog;
    dialog.DoModal();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return false;
}

}  // namespace morvane::ui
