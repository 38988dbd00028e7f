#include "library/name_table.h"

#include <gtest/gtest.h>

#include <fstream>

#include "recording_writer/temp_folder.h"

namespace morvane {
namespace {

class NameTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.ok()); }
  NameTable load(const std::string& bytes) {
    const std::string path = folder.file("player.txt");
    std::ofstream(path, std::ios::binary) << bytes;
    NameTable table;
    loadNameTable(path, table);
    return table;
  }
  fixtures::TempFolder folder;
};

// Each row: the file's bytes and the whole table they give.
TEST_F(NameTableTest, EachLineSplitsAtItsFirstTab) {
  const struct {
    const char* why;
    std::string bytes;
    NameTable table;
  } cases[] = {
      {"first tab splits", "A\tB\nC\tD\tE\n", {{"A", "B"}, {"C", "D\tE"}}},
      {"empty key and empty value", "\tvalue\nkey\t\n", {{"", "value"}, {"key", ""}}},
      {"later line wins", "p\tfirst\np\tsecond\n", {{"p", "second"}}},
      {"CR LF line ends", "a\t1\r\nb\t2\r\n", {{"a", "1"}, {"b", "2"}}},
      {"LF line ends, the same table", "a\t1\nb\t2\n", {{"a", "1"}, {"b", "2"}}},
      {"CR without LF stays", "a\rb\tc\rd\ne\tf\r", {{"a\rb", "c\rd"}, {"e", "f\r"}}},
      {"last line without end", "a\t1\nlast\tone", {{"a", "1"}, {"last", "one"}}},
      {"lines without tab and empty lines", "\n\r\nno tab here\n\na\t1\n\n", {{"a", "1"}}},
      {"nothing is trimmed", " key \t value \n", {{" key ", " value "}}},
      // A byte-order mark belongs to the first key; Shift_JIS stays Shift_JIS.
      {"bytes as they are",
       "\xEF\xBB\xBFk\tv\n\x95\x5C\t\x83\x41\n",
       {{"\xEF\xBB\xBFk", "v"}, {"\x95\x5C", "\x83\x41"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(load(c.bytes), c.table);
  }
}

TEST_F(NameTableTest, KeysAreCaseSensitive) {
  const NameTable table = load("Player\tShown\n");
  EXPECT_EQ(povDisplayName(table, "Player"), "Shown");
  EXPECT_EQ(povDisplayName(table, "player"), "player");
}

TEST_F(NameTableTest, EntriesAreAddedToWhatTheTableHolds) {
  NameTable table = {{"old", "kept"}, {"a", "replaced"}};
  const std::string path = folder.file("map.txt");
  std::ofstream(path, std::ios::binary) << "a\tnew\n";
  loadNameTable(path, table);
  EXPECT_EQ(table.at("old"), "kept");
  EXPECT_EQ(table.at("a"), "new");
}

TEST_F(NameTableTest, MissingFileLeavesTheTableUnchanged) {
  NameTable table = {{"x", "y"}};
  loadNameTable(folder.file("absent.txt"), table);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(povDisplayName(table, "x"), "y");
  EXPECT_EQ(povDisplayName(NameTable{}, "anyone"), "anyone");
}

}  // namespace
}  // namespace morvane
