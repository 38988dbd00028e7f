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

TEST_F(NameTableTest, FirstTabSplitsKeyFromValue) {
  const NameTable table = load("A\tB\nC\tD\tE\n");
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table.at("A"), "B");
  EXPECT_EQ(table.at("C"), "D\tE");
}

TEST_F(NameTableTest, EmptyKeyAndEmptyValue) {
  const NameTable table = load("\tvalue\nkey\t\n");
  EXPECT_EQ(table.at(""), "value");
  EXPECT_EQ(table.at("key"), "");
}

TEST_F(NameTableTest, LaterLineWins) {
  const NameTable table = load("p\tfirst\np\tsecond\n");
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table.at("p"), "second");
}

TEST_F(NameTableTest, CrLfAndLfGiveTheSameTable) {
  EXPECT_EQ(load("a\t1\r\nb\t2\r\n"), load("a\t1\nb\t2\n"));
  EXPECT_EQ(load("a\t1\r\nb\t2\r\n").at("a"), "1");
}

TEST_F(NameTableTest, CarriageReturnWithoutLineFeedStays) {
  const NameTable table = load("a\rb\tc\rd\ne\tf\r");
  EXPECT_EQ(table.at("a\rb"), "c\rd");
  EXPECT_EQ(table.at("e"), "f\r");
}

TEST_F(NameTableTest, LastLineWithoutEndCounts) {
  EXPECT_EQ(load("a\t1\nlast\tone").at("last"), "one");
}

TEST_F(NameTableTest, LinesWithoutTabAndEmptyLinesChangeNothing) {
  const NameTable table = load("\n\r\nno tab here\n\na\t1\n\n");
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table.at("a"), "1");
}

TEST_F(NameTableTest, NothingIsTrimmed) {
  const NameTable table = load(" key \t value \n");
  EXPECT_EQ(table.at(" key "), " value ");
}

TEST_F(NameTableTest, BytesAreKeptAsTheyAre) {
  // A byte-order mark belongs to the first key; Shift_JIS stays Shift_JIS.
  const NameTable table = load("\xEF\xBB\xBFk\tv\n\x95\x5C\t\x83\x41\n");
  EXPECT_EQ(table.at("\xEF\xBB\xBFk"), "v");
  EXPECT_EQ(table.at("\x95\x5C"), "\x83\x41");
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
