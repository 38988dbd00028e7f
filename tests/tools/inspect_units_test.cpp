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
#include "text_decoder.h"

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

TEST(TextDecoderTest, DecodesCodePagesIntoUtf8WithReplacements) {
  const auto gbk = makeTextDecoder(936);
  ASSERT_NE(gbk, nullptr);
  EXPECT_EQ(gbk->toUtf8("\xB5\xD8\xCD\xBC"), "\xE5\x9C\xB0\xE5\x9B\xBE");  // 地图
  const auto sjis = makeTextDecoder(932);
  ASSERT_NE(sjis, nullptr);
  EXPECT_EQ(sjis->toUtf8("\x83\x5C"), "\xE3\x82\xBD");                       // ソ, trail byte 0x5C
  EXPECT_NE(sjis->toUtf8("a\x81").find("\xEF\xBF\xBD"), std::string::npos);  // cut in half
  const auto western = makeTextDecoder(1252);
  ASSERT_NE(western, nullptr);
  EXPECT_EQ(western->toUtf8("\x80"), "\xE2\x82\xAC");  // €
  for (int codePage : {949, 950, 1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258})
    EXPECT_NE(makeTextDecoder(codePage), nullptr) << codePage;
  EXPECT_EQ(makeTextDecoder(0), nullptr);
  EXPECT_EQ(LazyTextDecoder(936).toUtf8("\xB5\xD8\xCD\xBC"), "\xE5\x9C\xB0\xE5\x9B\xBE");
  EXPECT_TRUE(codePageKnown(932));
  EXPECT_FALSE(codePageKnown(77777));
  EXPECT_FALSE(codePageKnown(0));
}

TEST(ProgressTextTest, CountsFilesThenRateAndTimeLeft) {
  EXPECT_EQ(progressText(0, 2000, 0.0), "0/2000 files");
  EXPECT_EQ(progressText(500, 2000, 2.0), "500/2000 files, 250.0 files/s, 6 s left");
  EXPECT_EQ(progressText(10, 2000, 4.0), "10/2000 files, 2.5 files/s, 13 min 16 s left");
  EXPECT_EQ(progressText(2000, 2000, 8.0), "2000/2000 files, 250.0 files/s, 0 s left");
}

TEST(InspectOptionsTest, ParsesFlagsAndRejectsUsageErrors) {
  std::string error;
  auto options = parseOptions({"--raw", "--codepage", "932", "--players", "p.txt", "--jobs", "3",
                               "--minimap", "pics", "--minimap-size", "4096", "a", "b"},
                              error);
  ASSERT_TRUE(options.has_value());
  EXPECT_TRUE(options->raw);
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
}

TEST(FolderRecordingsTest, TakesMgxFilesInByteOrderWithoutSubFolders) {
  fixtures::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  for (const char* name : {"b.mgx", "B.mgx", "a.mgx", "c.mgl", "d.MGX", "notes.txt"})
    ASSERT_TRUE(fixtures::writeFile(folder.file(name), {1}));
  std::filesystem::create_directory(folder.file("sub.mgx"));
#ifdef _WIN32
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  const std::vector<std::string> paths = folderRecordings(folder.path(), separator);
  const std::string base = joinPath(folder.path(), "", separator);
#ifdef _WIN32
  // The Windows file system does not tell B.mgx from b.mgx.
  EXPECT_EQ(paths.size(), 2u);
#else
  EXPECT_EQ(paths, (std::vector<std::string>{base + "B.mgx", base + "a.mgx", base + "b.mgx"}));
#endif
}

}  // namespace
}  // namespace morvane::inspect
