#include "platform/code_page.h"

namespace morvane::platform {

std::size_t CodePage::charLength(std::string_view text, std::size_t offset) const {
  const bool pair = isLeadByte(static_cast<uint8_t>(text[offset])) && offset + 1 < text.size();
  return pair ? 2 : 1;
}

std::size_t CodePage::find(std::string_view text, std::string_view needle) const {
  if (needle.empty()) return 0;
  for (std::size_t i = 0; i < text.size() && needle.size() <= text.size() - i;
       i += charLength(text, i)) {
    if (text.compare(i, needle.size(), needle) == 0) return i;
  }
  return npos;
}

}  // namespace morvane::platform
