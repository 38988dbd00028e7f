// A shortcut menu run at a point, behind a function so that the main window
// can be driven without a person to choose from it.
#pragma once

#include <windows.h>

#include <functional>

namespace morvane::ui {

// Shows menu for owner at the screen point; the chosen command, or 0.
using MenuPicker = std::function<UINT(HMENU menu, HWND owner, POINT at)>;

UINT pickFromMenuWithSystem(HMENU menu, HWND owner, POINT at);

}  // namespace morvane::ui
