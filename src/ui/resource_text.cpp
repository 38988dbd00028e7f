#include "ui/resource_text.h"

namespace morvane::ui {

std::string loadResourceString(UINT id) {
  char text[512] = {};
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

}  // namespace morvane::ui
