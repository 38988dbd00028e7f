#include "fuzz_text.h"

#include <array>
#include <memory>
#include <string_view>

#include "library/name_table.h"
#include "platform/code_page.h"

namespace morvane::fuzzing {
namespace {

// The code pages players' systems run the program under.
constexpr int kCodePages[] = {932, 936, 949, 950, 1252};

using CodePages = std::array<std::unique_ptr<platform::CodePage>, std::size(kCodePages)>;

const platform::CodePage* codePage(uint8_t pick) {
  // Made once: opening a converter and a collator costs more than a run.
  static const CodePages pages = [] {
    CodePages made;
    for (std::size_t i = 0; i < made.size(); ++i) made[i] = platform::makeCodePage(kCodePages[i]);
    return made;
  }();
  return pages[pick % pages.size()].get();
}

bool isOrder(int order) { return order >= -1 && order <= 1; }

const char* checkOrder(const platform::CodePage& page, std::string_view a, std::string_view b) {
  if (page.compareBytes(a, a) != 0) return "a text is byte-equal to itself";
  const int ab = page.compareBytes(a, b);
  if (!isOrder(ab) || ab != -page.compareBytes(b, a)) return "byte order is antisymmetric";
  const int collated = page.collate(a, b);
  if (collated == platform::CodePage::kCollateError) return nullptr;
  if (!isOrder(collated)) return "collation answers -1, 0 or 1";
  const int back = page.collate(b, a);
  if (back != platform::CodePage::kCollateError && back != -collated) {
    return "collation is antisymmetric";
  }
  return nullptr;
}

const char* checkSearch(const platform::CodePage& page, std::string_view text,
                        std::string_view needle) {
  const std::size_t at = page.find(text, needle);
  if (at != platform::CodePage::npos && text.substr(at, needle.size()) != needle) {
    return "a match holds the needle";
  }
  if (page.find(text, text) != 0) return "a text is found in itself";
  const std::size_t slash = page.lastBackslash(text);
  if (slash != platform::CodePage::npos && (slash >= text.size() || text[slash] != '\\')) {
    return "the last backslash is a backslash";
  }
  for (std::size_t i = 0; i < text.size(); i += page.charLength(text, i)) {
    const std::size_t length = page.charLength(text, i);
    if (length < 1 || length > 2) return "a character is one or two bytes";
  }
  return nullptr;
}

}  // namespace

const char* checkNameTable(const uint8_t* data, std::size_t size) {
  NameTable table;
  addNameTableLines(std::string_view(reinterpret_cast<const char*>(data), size), table);
  for (const auto& [key, value] : table) {
    if (key.find_first_of("\t\n") != std::string::npos) return "a key holds no tab or line end";
    if (value.find('\n') != std::string::npos) return "a value holds no line end";
    if (&povDisplayName(table, key) != &value) return "a key shows its value";
  }
  return nullptr;
}

const char* checkCodePageText(const uint8_t* data, std::size_t size) {
  if (size < 2) return nullptr;
  const platform::CodePage* page = codePage(data[0]);
  if (page == nullptr) return nullptr;  // a build without that code page
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t split = rest.empty() ? 0 : data[1] % (rest.size() + 1);
  const std::string_view a = rest.substr(0, split);
  const std::string_view b = rest.substr(split);

  const std::string upper = page->toUpper(a);
  if (upper.size() != a.size()) return "upper-casing keeps the length";
  if (page->toUpper(upper) != upper) return "upper-casing twice changes nothing more";
  if (const char* broken = checkOrder(*page, a, b)) return broken;
  return checkSearch(*page, a, b);
}

}  // namespace morvane::fuzzing
