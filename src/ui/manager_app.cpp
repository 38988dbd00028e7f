#include "ui/manager_app.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "ui/main_dialog.h"

namespace morvane::ui {

bool ManagerApp::InitInstance() {
  // The list view is the window's one common control. Only flags the
  // version 5 controls know: without a manifest those are what is loaded.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  if (!InitCommonControlsEx(&controls)) return false;  // the window cannot be built
  // The folder picker needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    MainDialog dialog;
    dialog.DoModal();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return false;
}

}  // namespace morvane::ui
