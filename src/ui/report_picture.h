// The report's map picture for the screen and for a file.
#pragma once

#include <windows.h>

#include <string>

#include "minimap/minimap.h"

namespace morvane::ui {

// A screen bitmap of the picture, its transparent parts over background;
// null for an empty picture.
HBITMAP bitmapOfPicture(const Picture& picture, COLORREF background);

// Writes the picture as a PNG file at the wide path; false when it could not.
bool savePictureAsPng(const Picture& picture, const std::wstring& path);

// Puts text on the clipboard as Unicode text; false when it could not.
bool copyTextToClipboard(HWND owner, const std::wstring& text);

}  // namespace morvane::ui
