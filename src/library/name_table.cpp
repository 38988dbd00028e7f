#include "library/name_table.h"

#include <cstdio>
#include <memory>

namespace morvane {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string readAll(std::FILE* file) {
  std::string bytes;
  char buffer[16384];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  return bytes;
}

void addLine(std::string_view line, NameTable& table) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return;
  table[std::string(line.substr(0, tab))] = std::string(line.substr(tab + 1));
}

}  // namespace

void loadNameTable(const std::string& path, NameTable& table) {
  // Binary mode: line ends are handled below, and every other byte, a lone
  // CR included, belongs to the text.
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return;
  addNameTableLines(readAll(file.get()), table);
}

void addNameTableLines(std::string_view text, NameTable& table) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool lastLine = end == std::string_view::npos;
    if (lastLine) end = text.size();
    std::size_t lineEnd = end;
    if (!lastLine && lineEnd > start && text[lineEnd - 1] == '\r') --lineEnd;
    addLine(text.substr(start, lineEnd - start), table);
    start = end + 1;
  }
}

const std::string& povDisplayName(const NameTable& table, const std::string& name) {
  const auto found = table.find(name);
  return found != table.end() ? found->second : name;
}

}  // namespace morvane
