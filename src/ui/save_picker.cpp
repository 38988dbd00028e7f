#include "ui/save_picker.h"

namespace morvane::ui {

std::optional<std::wstring> pickSavePathWithSystem(OPENFILENAMEW& info) {
  if (!GetSaveFileNameW(&info)) return std::nullopt;
  return std::wstring(info.lpstrFile);
}

}  // namespace morvane::ui
