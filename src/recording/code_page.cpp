// The later edition's UTF-8 first, as only it writes UTF-8; then the map type
// label, which the game wrote in its own language; then the shape of the
// texts' bytes, as the double-byte code pages use their lead and trail bytes.
#include "recording/code_page.h"

#include <algorithm>

namespace morvane {
namespace {

constexpr int32_t kWestern = 1252;
constexpr int32_t kJapanese = 932;
constexpr int32_t kSimplifiedChinese = 936;
constexpr int32_t kKorean = 949;
constexpr int32_t kTraditionalChinese = 950;

// Fewer Korean syllables than this in texts that could be Chinese as well
// leave them Chinese: common Chinese characters also start with the lead
// bytes of the Korean syllables, but seldom a dozen in a row.
constexpr int kKoreanAtLeast = 12;

bool isContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

// What the non-ASCII bytes of the texts look like as double-byte characters.
struct PairCounts {
  int pairs = 0;          // a high byte and a trail byte after it
  int single = 0;         // a high byte nothing can trail
  int japaneseLead = 0;   // lead 81-9F: Shift-JIS, never GB2312, Big5 or Korean
  int bothHigh = 0;       // lead and trail A1-FE: the common area of 936, 949, 950
  int lowTrail = 0;       // lead A1 or above, trail 40-7E: Big5's other half
  int outsideKorean = 0;  // bothHigh pairs whose lead is not a Korean syllable's (B0-C8)
};

void countPairs(std::string_view text, PairCounts& counts) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<uint8_t>(text[i]);
    if (lead < 0x80) continue;
    const uint8_t trail = i + 1 < text.size() ? static_cast<uint8_t>(text[i + 1]) : 0;
    if (lead == 0x80 || lead == 0xFF || trail < 0x40 || trail == 0x7F || trail == 0xFF) {
      ++counts.single;
      continue;
    }
    ++i;
    ++counts.pairs;
    if (lead < 0xA1) {
      ++counts.japaneseLead;
    } else if (trail >= 0xA1) {
      ++counts.bothHigh;
      if (lead < 0xB0 || lead > 0xC8) ++counts.outsideKorean;
    } else if (trail <= 0x7E) {
      ++counts.lowTrail;
    }
  }
}

int32_t fromBytes(const std::vector<std::string_view>& texts) {
  PairCounts counts;
  for (const std::string_view text : texts) countPairs(text, counts);
  if (counts.pairs == 0) return counts.single > 0 ? kWestern : 0;
  if (2 * counts.japaneseLead > counts.pairs) return kJapanese;
  // Accented letters among plain ones pair with them, never with each other.
  if (counts.bothHigh == 0) return kWestern;
  if (6 * counts.lowTrail >= counts.pairs) return kTraditionalChinese;
  if (counts.outsideKorean == 0 && counts.bothHigh >= kKoreanAtLeast) return kKorean;
  return kSimplifiedChinese;
}

}  // namespace

bool validUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<uint8_t>(text[i]);
    std::size_t length = 1;
    uint32_t lowest = 0;
    uint32_t code = b;
    if (b >= 0xF0 && b <= 0xF4) {
      length = 4, lowest = 0x10000, code = b & 0x07u;
    } else if (b >= 0xE0 && b < 0xF0) {
      length = 3, lowest = 0x800, code = b & 0x0Fu;
    } else if (b >= 0xC2 && b < 0xE0) {
      length = 2, lowest = 0x80, code = b & 0x1Fu;
    } else if (b >= 0x80) {
      return false;
    }
    if (length > text.size() - i) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<uint8_t>(text[i + k]);
      if (!isContinuation(next)) return false;
      code = code << 6 | (next & 0x3Fu);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

int32_t findCodePage(const CodePageSignals& signals) {
  const auto& texts = signals.texts;
  if (signals.family == VersionFamily::kHD && std::all_of(texts.begin(), texts.end(), validUtf8)) {
    return kUtf8CodePage;
  }
  if (signals.mapTypeLabel != 0) return signals.mapTypeLabel;
  return fromBytes(texts);
}

}  // namespace morvane
