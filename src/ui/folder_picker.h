// The system's folder picker, behind a function so that the main window can
// be driven without a person to answer it.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <functional>
#include <optional>
#include <string>

namespace morvane::ui {

// Runs the picker described by info; the chosen folder's exact path
// (platform/exact_path.h), or nothing when the user cancelled or the item has
// no path.
using FolderPicker = std::function<std::optional<std::string>(BROWSEINFOA& info)>;

std::optional<std::string> pickFolderWithShell(BROWSEINFOA& info);

// The exact path of a shell item, or nothing when it is no file-system item.
std::optional<std::string> exactPathOfItem(PCIDLIST_ABSOLUTE item);

}  // namespace morvane::ui
