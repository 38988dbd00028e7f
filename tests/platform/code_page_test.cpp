// The Shift_JIS rules every build must agree on: natively through ICU, on
// Windows through the C runtime in code page 932; and text of other code
// pages decoded to UTF-8.
#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_decoder.h"

namespace morvane::platform {
namespace {

// Shift_JIS bytes used below.
constexpr char kHyou[] = "\x95\x5C";       // a kanji whose trail byte is '\'
constexpr char kKatakanaA[] = "\x83\x41";  // trail byte is 'A'
constexpr char kFullA[] = "\x82\x81";      // full-width small a
constexpr char kFullUpperA[] = "\x82\x60";
constexpr char kFullZ[] = "\x82\x9A";  // full-width small z
constexpr char kFullUpperZ[] = "\x82\x79";

class ShiftJisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codePage = makeCodePage(932);
    ASSERT_NE(codePage, nullptr) << "code page 932 is not available to this build";
  }
  std::unique_ptr<CodePage> codePage;
};

TEST_F(ShiftJisTest, LeadBytesAreTheDoubleByteRanges) {
  EXPECT_EQ(codePage->number(), 932);
  EXPECT_TRUE(codePage->isLeadByte(0x81));
  EXPECT_TRUE(codePage->isLeadByte(0x95));
  EXPECT_TRUE(codePage->isLeadByte(0x9F));
  EXPECT_TRUE(codePage->isLeadByte(0xE0));
  EXPECT_TRUE(codePage->isLeadByte(0xFC));
  EXPECT_FALSE(codePage->isLeadByte('\\'));
  EXPECT_FALSE(codePage->isLeadByte('A'));
  EXPECT_FALSE(codePage->isLeadByte(0xA1));  // half-width katakana are single bytes
  EXPECT_FALSE(codePage->isLeadByte(0xDF));
  EXPECT_FALSE(codePage->isLeadByte(0x80));
}

TEST_F(ShiftJisTest, UpperCasesAsciiAndFullWidthLetters) {
  EXPECT_EQ(codePage->toUpper("abc xyz.mgx"), "ABC XYZ.MGX");
  EXPECT_EQ(codePage->toUpper(std::string(kFullA) + kFullZ),
            std::string(kFullUpperA) + kFullUpperZ);
  EXPECT_EQ(codePage->toUpper(std::string("a") + kFullA + "1"),
            std::string("A") + kFullUpperA + "1");
}

TEST_F(ShiftJisTest, UpperCasingLeavesTrailBytesAlone) {
  // 0x83 0x61 is a katakana whose trail byte looks like 'a'.
  const std::string katakana = "\x83\x61";
  EXPECT_EQ(codePage->toUpper(katakana), katakana);
  EXPECT_EQ(codePage->toUpper(kHyou), kHyou);
}

TEST_F(ShiftJisTest, FindMatchesOnlyAtCharacterBoundaries) {
  EXPECT_EQ(codePage->find(kHyou, "\\"), CodePage::npos);
  EXPECT_EQ(codePage->find(kKatakanaA, "A"), CodePage::npos);
  const std::string name = std::string(kKatakanaA) + "A.mgx";
  EXPECT_EQ(codePage->find(name, "A"), 2u);
  EXPECT_EQ(codePage->find(name, ".mgx"), 3u);
  EXPECT_EQ(codePage->find("abc", "abcd"), CodePage::npos);
  EXPECT_EQ(codePage->find("abc", ""), 0u);
}

TEST_F(ShiftJisTest, FilterTextNeverMatchesATrailByte) {
  // A filter of "a" upper-cased is "A": it must not find the katakana.
  const std::string name = codePage->toUpper(std::string(kKatakanaA) + ".mgx");
  EXPECT_EQ(codePage->find(name, codePage->toUpper("a")), CodePage::npos);
}

TEST_F(ShiftJisTest, ByteComparisonTakesADoubleByteCharacterAsOneUnit) {
  EXPECT_EQ(codePage->compareBytes("abc", "abc"), 0);
  EXPECT_EQ(codePage->compareBytes("B", "a"), -1);
  EXPECT_EQ(codePage->compareBytes("a", "B"), 1);
  EXPECT_EQ(codePage->compareBytes("ab", "abc"), -1);
  EXPECT_EQ(codePage->compareBytes("abc", "ab"), 1);
  // Half-width 0xA1 is one byte, 0x81 0x40 one unit of value 0x8140: a plain
  // byte order would put 0xA1 last.
  EXPECT_EQ(codePage->compareBytes("\xA1", "\x81\x40"), -1);
  EXPECT_EQ(codePage->compareBytes("\x81\x40", "\xA1"), 1);
}

TEST_F(ShiftJisTest, CollationIgnoresCaseFirstAndComparesDigitsAsCharacters) {
  EXPECT_EQ(codePage->collate("a.mgx", "B.mgx"), -1);
  EXPECT_EQ(codePage->collate("B.mgx", "c.mgx"), -1);
  EXPECT_EQ(codePage->collate("c.mgx", "a.mgx"), 1);
  EXPECT_EQ(codePage->collate("game10.mgx", "game9.mgx"), -1);
  EXPECT_EQ(codePage->collate("same", "same"), 0);
}

TEST_F(ShiftJisTest, CollationOrdersJapaneseText) {
  // Hiragana a (0x82 0xA0) before hiragana i (0x82 0xA2); both after Latin.
  EXPECT_EQ(codePage->collate("\x82\xA0", "\x82\xA2"), -1);
  EXPECT_EQ(codePage->collate("z", "\x82\xA0"), -1);
}

TEST_F(ShiftJisTest, SortKeysOrderAsTheCollationDoes) {
  const std::vector<std::string> texts = {"a.mgx", "B.mgx", "c.mgx",     "game10.mgx", "game9.mgx",
                                          "same",  "Same",  "\x82\xA0", "\x82\xA2",   "z", "_x"};
  std::string a;
  std::string b;
  for (const std::string& first : texts) {
    for (const std::string& second : texts) {
      ASSERT_TRUE(codePage->sortKey(first, a)) << first;
      ASSERT_TRUE(codePage->sortKey(second, b)) << second;
      const int order = a.compare(b);
      EXPECT_EQ(order < 0 ? -1 : order > 0 ? 1 : 0, codePage->collate(first, second))
          << first << " " << second;
    }
  }
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
  EXPECT_TRUE(codePageKnown(932));
  EXPECT_FALSE(codePageKnown(77777));
  EXPECT_FALSE(codePageKnown(0));
}

}  // namespace
}  // namespace morvane::platform
