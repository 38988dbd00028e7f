// The map type text of a "label: text" line, searched backwards over a fixed
// window of the header.
#include <array>

#include "recording/header_stages.h"

namespace morvane {
namespace {

// Compared raw: each label matches only a header written in its code page.
constexpr std::array<std::string_view, 6> kMapTypeLabels = {
    std::string_view("\x83\x7D\x83\x62\x83\x76\x82\xCC\x8E\xED\x97\xDE", 12),  // 932
    std::string_view("Map Type"),
    std::string_view("Tipo de mapa"),
    std::string_view("Kartentyp"),
    std::string_view("\xB5\xD8\xCD\xBC\xC0\xE0\xD0\xCD", 8),      // 936
    std::string_view("\xC1\xF6\xB5\xB5\x20\xC1\xBE\xB7\xF9", 9),  // 949
};
constexpr int64_t kTailDistance = 18000;
constexpr int64_t kLowerBound = 100000;
constexpr int64_t kTextLimit = 100;
constexpr std::string_view kColon(": ");
constexpr std::string_view kStopWord("GAIA");

bool labelEndsAt(ByteSpan header, int64_t colon) {
  for (std::string_view label : kMapTypeLabels) {
    if (header.matches(colon - static_cast<int64_t>(label.size()), label)) return true;
  }
  return false;
}

std::string textAfter(ByteSpan header, int64_t start) {
  const std::string_view line = header.text(start, kTextLimit, kTextLimit);
  return std::string(line.substr(0, line.find('\n')));
}

}  // namespace

std::string findMapTypeText(ByteSpan header) {
  const int64_t highest = header.size() - kTailDistance;
  if (highest <= kLowerBound) return {};
  // p is the position of the space after the colon.
  for (int64_t p = highest; p > kLowerBound; --p) {
    if (header.matches(p - 1, kColon)) {
      if (labelEndsAt(header, p - 1)) return textAfter(header, p + 1);
    } else if (header.matches(p - 3, kStopWord)) {
      return {};
    }
  }
  return {};
}

}  // namespace morvane
