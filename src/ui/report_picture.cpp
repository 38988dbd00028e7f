#include "ui/report_picture.h"

#include <cstring>
#include <vector>

#include "minimap/png_image.h"

namespace morvane::ui {
namespace {

uint8_t over(uint8_t value, uint8_t alpha, uint8_t background) {
  return static_cast<uint8_t>((value * alpha + background * (255 - alpha) + 127) / 255);
}

}  // namespace

HBITMAP bitmapOfPicture(const Picture& picture, COLORREF background) {
  if (picture.width <= 0 || picture.height <= 0) return nullptr;
  const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
  if (picture.rgba.size() != pixels * 4) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top row first, as the picture
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return bitmap;
  auto* out = static_cast<uint8_t*>(bits);
  for (std::size_t i = 0; i < pixels; ++i) {
    const uint8_t* in = &picture.rgba[i * 4];
    out[i * 4 + 0] = over(in[2], in[3], GetBValue(background));
    out[i * 4 + 1] = over(in[1], in[3], GetGValue(background));
    out[i * 4 + 2] = over(in[0], in[3], GetRValue(background));
    out[i * 4 + 3] = 0;
  }
  GdiFlush();
  return bitmap;
}

bool savePictureAsPng(const Picture& picture, const std::wstring& path) {
  const std::vector<uint8_t> png = encodePng(picture);
  if (png.empty()) return false;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool wrote = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
                     written == png.size();
  CloseHandle(file);
  if (!wrote) DeleteFileW(path.c_str());
  return wrote;
}

bool copyTextToClipboard(HWND owner, const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return false;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory);
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  // The clipboard owns the memory once it takes it.
  const bool taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!taken) GlobalFree(memory);
  return taken;
}

}  // namespace morvane::ui
