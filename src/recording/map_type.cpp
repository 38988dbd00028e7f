// The map type text of a "label: text" line, searched backwards over a fixed
// window of the header.
#include <algorithm>
#include <array>

#include "recording/header_stages.h"

namespace morvane {
namespace {

// Compared raw: each label matches only a header written in its code page.
// The separator stands at p - 1 and p, the label before it, the text at p + 1.
struct Label {
  std::string_view label;
  std::string_view separator;
  int32_t codePage;  // the one the label is written in
};
constexpr std::string_view kColon(": ");
// Written by some Chinese and Taiwanese games: full-width colon, no space.
constexpr std::string_view kFullWidthColon936("\xA3\xBA", 2);
constexpr std::string_view kFullWidthColon950("\xA1\x47", 2);
constexpr std::array<Label, 8> kMapTypeLabels = {{
    {std::string_view("\x83\x7D\x83\x62\x83\x76\x82\xCC\x8E\xED\x97\xDE", 12), kColon, 932},
    {std::string_view("Map Type"), kColon, 1252},
    {std::string_view("Tipo de mapa"), kColon, 1252},
    {std::string_view("Kartentyp"), kColon, 1252},
    {std::string_view("\xB5\xD8\xCD\xBC\xC0\xE0\xD0\xCD", 8), kColon, 936},
    {std::string_view("\xC1\xF6\xB5\xB5\x20\xC1\xBE\xB7\xF9", 9), kColon, 949},
    {std::string_view("\xB5\xD8\xCD\xBC\xC0\xE0\xB1\xF0", 8), kFullWidthColon936, 936},
    {std::string_view("\xA6\x61\xB9\xCF\xC3\xFE\xA7\x4F", 8), kFullWidthColon950, 950},
}};
// Each separator of the table once: only where one ends can a label end.
constexpr std::array<std::string_view, 3> kSeparators = {
    {kColon, kFullWidthColon936, kFullWidthColon950}};
constexpr int64_t kTailDistance = 18000;
constexpr int64_t kLowerBound = 100000;
constexpr int64_t kTextLimit = 100;
constexpr std::string_view kStopWord("GAIA");
// The window is searched from the top a block at a time, so that neither a
// label nor a stop word far below the other costs a scan of the whole window.
constexpr int64_t kBlock = 64 * 1024;
constexpr int64_t kNotFound = ByteSpan::kNotFound;

// The first label in table order at the separator ending at p, or null.
const Label* labelEndingAt(ByteSpan header, int64_t p) {
  for (const Label& label : kMapTypeLabels) {
    const int64_t separator = p + 1 - static_cast<int64_t>(label.separator.size());
    if (header.matches(separator, label.separator) &&
        header.matches(separator - static_cast<int64_t>(label.label.size()), label.label)) {
      return &label;
    }
  }
  return nullptr;
}

// Highest end in [low, high] of pattern, or kNotFound. Its first byte is the
// rarest in a header for the separators and the stop word alike.
int64_t highestEnd(ByteSpan header, std::string_view pattern, int64_t high, int64_t low) {
  const int64_t at = header.findBackward(pattern, high, low);
  return at == kNotFound ? kNotFound : at + static_cast<int64_t>(pattern.size()) - 1;
}

// Highest p in [low, high] at which a label ends: the separator ends are
// visited from the top down, as the step-by-step rule meets them.
int64_t highestLabelEnd(ByteSpan header, int64_t high, int64_t low) {
  std::array<int64_t, kSeparators.size()> next{};
  for (std::size_t s = 0; s < kSeparators.size(); ++s) {
    next[s] = highestEnd(header, kSeparators[s], high, low);
  }
  for (;;) {
    const int64_t p = *std::max_element(next.begin(), next.end());
    if (p == kNotFound || labelEndingAt(header, p) != nullptr) return p;
    for (std::size_t s = 0; s < kSeparators.size(); ++s) {
      if (next[s] == p) next[s] = highestEnd(header, kSeparators[s], p - 1, low);
    }
  }
}

std::string textAfter(ByteSpan header, int64_t start) {
  const std::string_view line = header.text(start, kTextLimit, kTextLimit);
  return std::string(line.substr(0, line.find('\n')));
}

}  // namespace

// The rule visits p from the top down and ends at the first label or stop
// word; per block, the highest label decides unless a stop word ends above it
// (at the label's own position the label is tested first).
MapTypeLine findMapTypeLine(ByteSpan header) {
  const int64_t highest = header.size() - kTailDistance;
  for (int64_t high = highest; high > kLowerBound; high -= kBlock) {
    const int64_t low = std::max(high - kBlock + 1, kLowerBound + 1);
    const int64_t label = highestLabelEnd(header, high, low);
    const int64_t stopWord =
        highestEnd(header, kStopWord, high, label == kNotFound ? low : label + 1);
    if (stopWord != kNotFound) return {};
    if (label != kNotFound) {
      return {textAfter(header, label + 1), labelEndingAt(header, label)->codePage};
    }
  }
  return {};
}

std::string findMapTypeText(ByteSpan header) { return findMapTypeLine(header).text; }

}  // namespace morvane
