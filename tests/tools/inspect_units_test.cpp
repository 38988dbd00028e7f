// The inspector's pieces: JSON text, hex, code page decoding, options and the
// folder rule.
#include <gtest/gtest.h>

#include <filesystem>

#include "folder_recordings.h"
#include "inspect_options.h"
#include "json_line.h"
#include "lazy_text_decoder.h"
#include "library/folder_scan.h"
#include "progress_line.h"
#include "recording_writer/recording_writer.h"
#include "search_run.h"

namespace morvane::inspect {
namespace {

TEST(JsonTextTest, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(jsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(jsonString(std::string("\r\n\x01\x1f", 4)), "\"\\u000d\\u000a\\u0001\\u001f\"");
  EXPECT_EQ(jsonString("\xE5\x9C\xB0"), "\"\xE5\x9C\xB0\"");  // UTF-8 passes through
  EXPECT_EQ(hexBytes(std::string("\x00\x7f\xff\x5c", 4)), "007fff5c");
  JsonLine line;
  line.string("file", "x");
  line.boolean("loaded", false);
  line.number("n", -3);
  line.raw("list", jsonArray({"1", "2"}));
  EXPECT_EQ(line.str(), "{\"file\":\"x\",\"loaded\":false,\"n\":-3,\"list\":[1,2]}");
}

TEST(LazyTextDecoderTest, OpensTheCodePageAtTheFirstText) {
  EXPECT_EQ(LazyTextDecoder(936).toUtf8("\xB5\xD8\xCD\xBC"), "\xE5\x9C\xB0\xE5\x9B\xBE");
  EXPECT_EQ(LazyTextDecoder(77777).toUtf8("a"), "\xEF\xBF\xBD");
}

TEST(ProgressTextTest, CountsFilesThenRateAndTimeLeft) {
  EXPECT_EQ(progressText(0, 2000, 0.0), "0/2000 files");
  EXPECT_EQ(progressText(500, 2000, 2.0), "500/2000 files, 250.0 files/s, 6 s left");
  EXPECT_EQ(progressText(10, 2000, 4.0), "10/2000 files, 2.5 files/s, 13 min 16 s left");
  EXPECT_EQ(progressText(2000, 2000, 8.0), "2000/2000 files, 250.0 files/s, 0 s left");
}

TEST(InspectOptionsTest, ParsesFlagsAndRejectsUsageErrors) {
  std::string error;
  auto options = parseOptions({"--raw", "--recursive", "--codepage", "932", "--players", "p.txt", "--jobs", "3",
                               "--minimap", "pics", "--minimap-size", "4096", "a", "b"},
                              error);
  ASSERT_TRUE(options.has_value());
  EXPECT_TRUE(options->raw);
  EXPECT_TRUE(options->recursive);
  EXPECT_FALSE(parseOptions({"a"}, error)->recursive);
  EXPECT_EQ(options->codePage, 932);
  EXPECT_EQ(options->playersFile, "p.txt");
  EXPECT_EQ(options->jobs, 3u);
  EXPECT_EQ(options->minimapFolder, "pics");
  EXPECT_EQ(options->minimapSize, 4096);
  EXPECT_EQ(options->paths, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(parseOptions({"a"}, error)->minimapSize, 256);
  EXPECT_EQ(parseOptions({"--", "--raw"}, error)->paths, std::vector<std::string>{"--raw"});
  EXPECT_FALSE(parseOptions({}, error));
  EXPECT_FALSE(parseOptions({"--raw"}, error));
  EXPECT_FALSE(parseOptions({"--codepage", "x", "a"}, error));
  EXPECT_FALSE(parseOptions({"--codepage"}, error));
  EXPECT_FALSE(parseOptions({"--jobs", "0", "a"}, error));
  EXPECT_FALSE(parseOptions({"--minimap-size", "7", "a"}, error));
  EXPECT_FALSE(parseOptions({"--minimap-size", "4097", "a"}, error));
  EXPECT_FALSE(parseOptions({"--minimap"}, error));
  EXPECT_FALSE(parseOptions({"--verbose", "a"}, error));
  EXPECT_NE(error.find("--verbose"), std::string::npos);
  // A search needs its index, and its criteria a search.
  options = parseOptions({"--index", "i.sqlite", "--search", "--name", "ali", "--civ", "Franks",
                          "--map", "arab", "--result", "won", "--from", "2024-05", "--to", "2024-06"},
                         error);
  ASSERT_TRUE(options.has_value()) << error;
  EXPECT_TRUE(options->search);
  EXPECT_EQ(options->criteria.civ, "Franks");
  EXPECT_EQ(options->criteria.to, "2024-06");
  EXPECT_FALSE(parseOptions({"--search", "--name", "ali"}, error));
  EXPECT_FALSE(parseOptions({"--index", "i.sqlite", "--name", "ali"}, error));
  EXPECT_FALSE(parseOptions({"--index", "i.sqlite", "--search", "--map"}, error));
}

// The command line's search is the window's: its criteria make the window's
// form, and each game found is a line with its players and recordings.
TEST(InspectSearchTest, FindsGamesAsTheWindowDoesNewestFirst) {
  std::string error;
  InspectOptions::Criteria criteria;
  criteria.civ = "goths";
  criteria.result = "lost";
  std::optional<archive::SearchForm> form = searchFormOf(criteria, error);
  ASSERT_TRUE(form);
  EXPECT_EQ(form->civId, 3);
  EXPECT_EQ(form->result, archive::SearchForm::Result::kLost);
  criteria.civ = "Atlanteans";  // no edition's
  EXPECT_FALSE(searchFormOf(criteria, error));
  criteria.civ = "7";
  criteria.result = "draw";
  EXPECT_FALSE(searchFormOf(criteria, error));

  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string tree = folder.file("games");
  std::filesystem::create_directories(tree);
  // Alice on the Goths (3) and Bob on the Byzantines (7).
  fixtures::SampleGame older = fixtures::twoPlayerGame();
  older.worldChecksums = {1, 2, 3};
  fixtures::SampleGame newer = older;
  newer.worldChecksums = {4, 5, 6};
  newer.players[1].name = "Carol";
  ASSERT_TRUE(fixtures::writeSampleGame(tree + "/older.mgx", older));
  ASSERT_TRUE(fixtures::writeSampleGame(tree + "/newer.mgx", newer));
  std::filesystem::last_write_time(tree + "/older.mgx",
                                   std::filesystem::last_write_time(tree + "/newer.mgx") -
                                       std::chrono::hours(24));
  archive::Archive index(folder.file("index.sqlite"));
  archive::UpdateRequest request;
  request.folders = {tree};
  index.update(request);

  criteria = {};
  criteria.name = "ALICE";
  form = searchFormOf(criteria, error);
  ASSERT_TRUE(form);
  archive::SearchPage page = archive::searchGames(index, *form, "", 100);
  ASSERT_EQ(page.games.size(), 2u);
  const std::string first = gameJson(page.games[0], page.lines[0]);
  EXPECT_NE(first.find("\"name\":\"Carol\""), std::string::npos) << first;
  EXPECT_NE(first.find("\"certainty\":\"sync\""), std::string::npos) << first;
  EXPECT_NE(first.find("\"civName\":\"Goths\""), std::string::npos) << first;
  EXPECT_NE(first.find("newer.mgx\",\"pov\":2,\"copy\":false}]}"), std::string::npos) << first;
  criteria.name = "bob";
  criteria.civ = "Byzantines";
  form = searchFormOf(criteria, error);
  page = archive::searchGames(index, *form, "", 100);
  ASSERT_EQ(page.games.size(), 1u);
  EXPECT_EQ(page.games[0].recordings[0].path, tree + "/older.mgx");
}

TEST(FolderRecordingsTest, TakesEveryEditionsRecordingsInByteOrderAndSubFoldersWhenAsked) {
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  // The Chinese name is outside every ANSI code page but UTF-8's: it is
  // reported by the name the file system holds.
  for (const char* name : {"b.mgx", "a.mgz", "c.mgl", "d.MGX", "e.mgx2", "f.aoe2record", "g.Msx",
                           "notes.txt", "mgx", "x.mgx.bak", "\xE6\xB8\xB8\xE6\x88\x8F.mgx"})
    ASSERT_TRUE(fixtures::writeFile(folder.file(name), {1}));
  std::filesystem::create_directory(folder.file("sub.mgx"));
  ASSERT_TRUE(fixtures::writeFile(folder.file("sub.mgx/inner.mgz"), {1}));
  const char separator = platform::kNativeSeparator;
  const std::string base = joinPath(folder.path(), "", separator);
  std::vector<std::string> expected;
  for (const char* name : {"a.mgz", "b.mgx", "c.mgl", "d.MGX", "e.mgx2", "f.aoe2record", "g.Msx",
                           "\xE6\xB8\xB8\xE6\x88\x8F.mgx"})
    expected.push_back(base + name);
  EXPECT_EQ(folderRecordings(folder.path(), separator), expected);
  expected.push_back(joinPath(base + "sub.mgx", "inner.mgz", separator));
  EXPECT_EQ(folderRecordings(folder.path(), separator, true), expected);
}

}  // namespace
}  // namespace morvane::inspect
