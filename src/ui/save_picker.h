// The system's Save As dialog, behind a function so that the report window
// can be driven without a person to answer it.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>

namespace morvane::ui {

// Runs the dialog described by info (its file buffer holds the default name);
// the chosen path, or nothing when the user cancelled.
using SavePicker = std::function<std::optional<std::wstring>(OPENFILENAMEW& info)>;

std::optional<std::wstring> pickSavePathWithSystem(OPENFILENAMEW& info);

}  // namespace morvane::ui
