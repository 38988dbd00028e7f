// The map type text of a "label: text" line, searched backwards over a fixed
// window of the header.
#include <array>

#include "recording/header_stages.h"

namespace morvane {
namespace {

// Compared raw: each label matches only a header written in its code page.
// The separator stands at p - 1 and p, the label before it, the text at p + 1.
struct Label {
  std::string_view label;
  std::string_view separator;
};
constexpr std::string_view kColon(": ");
constexpr std::array<Label, 8> kMapTypeLabels = {{
    {std::string_view("\x83\x7D\x83\x62\x83\x76\x82\xCC\x8E\xED\x97\xDE", 12), kColon},  // 932
    {std::string_view("Map Type"), kColon},
    {std::string_view("Tipo de mapa"), kColon},
    {std::string_view("Kartentyp"), kColon},
    {std::string_view("\xB5\xD8\xCD\xBC\xC0\xE0\xD0\xCD", 8), kColon},      // 936
    {std::string_view("\xC1\xF6\xB5\xB5\x20\xC1\xBE\xB7\xF9", 9), kColon},  // 949
    // Written by some Chinese and Taiwanese games: full-width colon, no space.
    {std::string_view("\xB5\xD8\xCD\xBC\xC0\xE0\xB1\xF0", 8),
     std::string_view("\xA3\xBA", 2)},  // 936
    {std::string_view("\xA6\x61\xB9\xCF\xC3\xFE\xA7\x4F", 8),
     std::string_view("\xA1\x47", 2)},  // 950
}};
constexpr int64_t kTailDistance = 18000;
constexpr int64_t kLowerBound = 100000;
constexpr int64_t kTextLimit = 100;
constexpr std::string_view kStopWord("GAIA");

// byte is the one at p: comparing it first keeps the scan of a megabyte-long
// window cheap.
bool labelEndsAt(ByteSpan header, int64_t p, char byte) {
  for (const Label& label : kMapTypeLabels) {
    const int64_t separator = p + 1 - static_cast<int64_t>(label.separator.size());
    if (label.separator.back() == byte && header.matches(separator, label.separator) &&
        header.matches(separator - static_cast<int64_t>(label.label.size()), label.label)) {
      return true;
    }
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
  // p is the last byte of the separator.
  for (int64_t p = highest; p > kLowerBound; --p) {
    const auto byte = static_cast<char>(header.u8(p).value_or(0));
    if (labelEndsAt(header, p, byte)) return textAfter(header, p + 1);
    if (byte == kStopWord.back() && header.matches(p - 3, kStopWord)) return {};
  }
  return {};
}

}  // namespace morvane
