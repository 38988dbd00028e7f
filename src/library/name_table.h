// Tab-separated name tables (player.txt, map.txt): key, tab, value per line.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace morvane {

using NameTable = std::unordered_map<std::string, std::string>;

// Adds the lines of the file at path to table; later lines replace earlier
// values of the same key. A file that cannot be opened changes nothing.
void loadNameTable(const std::string& path, NameTable& table);

// The same for a file's bytes already in memory.
void addNameTableLines(std::string_view text, NameTable& table);

// The name shown for a recording player: the table's value for name when it
// has one, otherwise name itself.
const std::string& povDisplayName(const NameTable& table, const std::string& name);

}  // namespace morvane
