// Rules only the ICU build has to provide: code pages chosen by number and
// the collation error for bytes the converter rejects.
#include <gtest/gtest.h>

#include "platform/code_page.h"

namespace morvane::platform {
namespace {

TEST(IcuCodePageTest, KnownCodePagesAreAvailable) {
  for (int number : {932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    const auto codePage = makeCodePage(number);
    ASSERT_NE(codePage, nullptr) << number;
    EXPECT_EQ(codePage->number(), number);
    EXPECT_EQ(codePage->collate("a", "B"), -1) << number;
  }
}

TEST(IcuCodePageTest, UnknownCodePageGivesNothing) {
  EXPECT_EQ(makeCodePage(65001), nullptr);
  EXPECT_EQ(makeCodePage(0), nullptr);
}

TEST(IcuCodePageTest, SingleByteCodePagesHaveNoLeadBytes) {
  const auto western = makeCodePage(1252);
  ASSERT_NE(western, nullptr);
  for (unsigned byte = 0; byte < 256; ++byte)
    EXPECT_FALSE(western->isLeadByte(static_cast<uint8_t>(byte)));
}

TEST(IcuCodePageTest, SingleByteLettersOfTheCodePageAreUpperCased) {
  const auto western = makeCodePage(1252);
  ASSERT_NE(western, nullptr);
  EXPECT_EQ(western->toUpper("\xE9t\xE9"), "\xC9T\xC9");  // été
}

TEST(IcuCodePageTest, DoubleByteLeadRangesOfChineseAndKorean) {
  for (int number : {936, 949, 950}) {
    const auto codePage = makeCodePage(number);
    ASSERT_NE(codePage, nullptr);
    EXPECT_TRUE(codePage->isLeadByte(0x81)) << number;
    EXPECT_TRUE(codePage->isLeadByte(0xFE)) << number;
    EXPECT_FALSE(codePage->isLeadByte(0x80)) << number;
    EXPECT_FALSE(codePage->isLeadByte(0xFF)) << number;
  }
}

TEST(IcuCodePageTest, RejectedBytesMakeCollationReportAnError) {
  const auto codePage = makeCodePage(932);
  ASSERT_NE(codePage, nullptr);
  EXPECT_EQ(codePage->collate("\x81", "a"), CodePage::kCollateError);      // lead byte at the end
  EXPECT_EQ(codePage->collate("a", "\x81\x20"), CodePage::kCollateError);  // bad trail byte
  // The byte-wise order still answers.
  EXPECT_EQ(codePage->compareBytes("a", "\x81\x20"), -1);
}

}  // namespace
}  // namespace morvane::platform
