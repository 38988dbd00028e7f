#include "ui/manager_app.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "ui/main_dialog.h"

namespace morvane::ui {
namespace {

// COM on this thread while it lives, when it could be had.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

}  // namespace

bool ManagerApp::InitInstance() {
  // The list view is the window's one common control. Only flags the
  // version 5 controls know: without a manifest those are what is loaded.
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  if (!InitCommonControlsEx(&controls)) return false;  // the window cannot be built
  const ComApartment com;                              // for the folder picker
  MainDialog dialog;
  dialog.DoModal();
  return false;
}

}  // namespace morvane::ui
