// The walk over the scenario records to the team bytes, their labels and
// where the header chat scan starts.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "recording_writer/recording_writer.h"
#include "support/bare_header.h"
#include "support/parse_recording.h"

namespace morvane {
namespace {

using fixtures::HeaderBuilder;
using fixtures::ParsedRecording;
using fixtures::ScenarioRecord;
using fixtures::SubRecord;

using Labels = std::array<std::string, 9>;

class TeamLabelsTest : public ::testing::Test {
 protected:
  TeamLabelsTest() { listEnd = fixtures::headerThroughPlayerList(h); }

  ParsedRecording parse(GameEntry start = {}) {
    h.padTo(h.size() + 100);
    ParsedRecording parsed = fixtures::parseRecording(h.bytes(), {}, std::move(start));
    EXPECT_TRUE(parsed.loaded);
    return parsed;
  }

  HeaderBuilder h;
  int64_t listEnd = 0;
};

TEST_F(TeamLabelsTest, TeamBytesBecomeLabels) {
  h.scenarioList({});
  h.teamBytes({1, 1, 2, 2, 3, 3, 0, 0});
  GameEntry start;
  start.teamLabels[0] = "untouched";
  const ParsedRecording parsed = parse(start);
  EXPECT_EQ(parsed.entry.teamLabels,
            (Labels{"untouched", "-", "-", "1", "1", "2", "2", "-1", "-1"}));
  EXPECT_EQ(parsed.entry.mapName, std::string(fixtures::kUnknownMap));
}

TEST_F(TeamLabelsTest, HighTeamByteIsUnsigned) {
  h.scenarioList({});
  h.teamBytes({255, 128, 5, 1, 1, 1, 1, 9});
  const ParsedRecording parsed = parse();
  EXPECT_EQ(parsed.entry.teamLabels, (Labels{"", "254", "127", "4", "-", "-", "-", "-", "8"}));
}

TEST_F(TeamLabelsTest, NoRecordsPutTheTeamBytesAtListEndPlus5) {
  h.u8(0);
  h.i32(0);
  ASSERT_EQ(h.size(), listEnd + 5);
  h.teamBytes({2, 3, 4, 5, 6, 7, 8, 9});
  const ParsedRecording parsed = parse();
  EXPECT_EQ(parsed.entry.teamLabels, (Labels{"", "1", "2", "3", "4", "5", "6", "7", "8"}));
}

TEST_F(TeamLabelsTest, ScenarioRecordsAreWalkedOver) {
  ScenarioRecord plain;  // 34 bytes
  ScenarioRecord full;
  full.a = 7;
  full.b = 300;
  full.w = 3;
  full.subRecords = {SubRecord{-1, 5, 9}, SubRecord{2, 0, 0}, SubRecord{0, 100, 1}};
  ASSERT_EQ(fixtures::scenarioRecordLength(plain), 34);
  ASSERT_EQ(fixtures::subRecordLength(SubRecord{-1, 5, 9}), 108 + 5 + 9);
  ASSERT_EQ(fixtures::subRecordLength(SubRecord{2, 5, 9}), 108 + 5 + 9 + 8);
  h.scenarioList({plain, full, plain});
  h.teamBytes({3, 3, 2, 2, 1, 1, 4, 4});
  const ParsedRecording parsed = parse();
  EXPECT_EQ(parsed.entry.teamLabels, (Labels{"", "2", "2", "1", "1", "-", "-", "3", "3"}));
  EXPECT_EQ(parsed.entry.mapName, "scenario");
}

TEST_F(TeamLabelsTest, NegativeRecordCountMovesBackFourBytesAndIsNoScenario) {
  h.u8(0);
  h.i32(-1);  // no records walked, then 4 * N takes the position back to listEnd + 1
  h.text("\x02\x03\x04\x05");
  const ParsedRecording parsed = parse();
  EXPECT_EQ(parsed.entry.teamLabels, (Labels{"", "254", "254", "254", "254", "1", "2", "3", "4"}));
  EXPECT_EQ(parsed.entry.mapName, std::string(fixtures::kUnknownMap));
}

TEST_F(TeamLabelsTest, ChatScanStarts31BytesAfterTheTeamBytes) {
  h.scenarioList({});
  const int64_t chatScanStart = h.teamBytes({1, 1, 1, 1, 1, 1, 1, 1});
  // A message whose marker stands one byte before the scan start is not seen.
  h.setI32(chatScanStart - 5, 6);
  h.setText(chatScanStart - 1, "@");
  h.text("#1early");
  h.i32(5);
  h.text("@#2on");
  const ParsedRecording parsed = parse();
  EXPECT_EQ(parsed.entry.lobbyChat, "on\r\n");
}

TEST_F(TeamLabelsTest, MessageRightAtTheScanStartIsCollected) {
  h.scenarioList({});
  const int64_t chatScanStart = h.teamBytes({1, 1, 1, 1, 1, 1, 1, 1});
  h.setI32(chatScanStart - 4, 7);
  h.text("@#3first");
  const ParsedRecording parsed = parse();
  EXPECT_EQ(parsed.entry.lobbyChat, "firs\r\n");
}

TEST_F(TeamLabelsTest, RecordCountPastTheHeaderStaysInside) {
  h.u8(0);
  const int64_t countAt = h.i32(0);
  h.zeros(40);
  for (int32_t bad : {1000, 0x7FFFFFFF, 12}) {
    SCOPED_TRACE(bad);
    HeaderBuilder one;
    one.raw(h.bytes());
    one.setI32(countAt, bad);
    GameEntry start;
    start.teamLabels.fill("keep");
    const ParsedRecording parsed = fixtures::parseRecording(one.bytes(), {}, start);
    ASSERT_TRUE(parsed.loaded);
    for (int k = 1; k <= 8; ++k) {
      const std::string& label = parsed.entry.teamLabels[k];
      EXPECT_TRUE(label == "keep" || label.empty()) << k << ": " << label;
    }
    EXPECT_EQ(parsed.entry.mapName, "scenario");
  }
}

TEST_F(TeamLabelsTest, HugeLengthsInsideARecordStayInside) {
  ScenarioRecord record;
  record.subRecords = {SubRecord{0, 0, 0}};
  h.scenarioList({record});
  h.teamBytes({2, 2, 2, 2, 2, 2, 2, 2});
  HeaderBuilder patched;
  patched.raw(h.bytes());
  // A at listEnd + 5 + 18, then the V, C of the sub-record.
  for (int64_t field : {listEnd + 23, listEnd + 5 + 30 + 24, listEnd + 5 + 30 + 100}) {
    SCOPED_TRACE(field);
    for (int32_t value : {0x7FFFFFFF, -0x7FFFFFFF - 1, -1000}) {
      SCOPED_TRACE(value);
      HeaderBuilder one;
      one.raw(patched.bytes());
      one.setI32(field, value);
      one.padTo(one.size() + 100);
      GameEntry start;
      start.teamLabels.fill("keep");
      const ParsedRecording parsed = fixtures::parseRecording(one.bytes(), {}, start);
      ASSERT_TRUE(parsed.loaded);
      // Where a negative length lands is defined only by the arithmetic; what
      // counts is that the parse stays inside (the sanitizer build checks).
      EXPECT_EQ(parsed.entry.mapName, "scenario");
    }
  }
}

// listEnd 0: the count is read at offset 1 and the team bytes follow at 5.
TEST(TeamLabelsWithoutMarkerTest, WalkStartsAtTheHeaderStart) {
  HeaderBuilder h;
  h.plainStart(3);
  h.setText(5, "\x02\x03\x04\x05\x06\x07\x08");  // byte 12 is the flag's low byte: 3
  h.padTo(30000);
  const ParsedRecording parsed = fixtures::parseRecording(h.bytes());
  ASSERT_TRUE(parsed.loaded);
  EXPECT_EQ(parsed.entry.teamLabels, (Labels{"", "1", "2", "3", "4", "5", "6", "7", "2"}));
}

// The double marker's last byte must lie above offset 18000 to be found.
HeaderBuilder doubleMarkerEndingAt(int64_t lastByte) {
  HeaderBuilder h;
  h.plainStart(3);
  h.setText(5, "\x02\x02\x02\x02\x02\x02\x02");
  h.padTo(lastByte - 7);
  h.doubleMarker();
  h.scenarioList({});
  h.teamBytes({5, 5, 5, 5, 5, 5, 5, 5});
  h.padTo(h.size() + 100);
  return h;
}

TEST(TeamLabelsWithoutMarkerTest, DoubleMarkerEndingAt18001IsFound) {
  const ParsedRecording parsed = fixtures::parseRecording(doubleMarkerEndingAt(18001).bytes());
  ASSERT_TRUE(parsed.loaded);
  EXPECT_EQ(parsed.entry.teamLabels[1], "4");
  EXPECT_EQ(parsed.entry.teamLabels[8], "4");
}

TEST(TeamLabelsWithoutMarkerTest, DoubleMarkerEndingAt18000IsNotFound) {
  const ParsedRecording parsed = fixtures::parseRecording(doubleMarkerEndingAt(18000).bytes());
  ASSERT_TRUE(parsed.loaded);
  EXPECT_EQ(parsed.entry.teamLabels[1], "1");
  EXPECT_EQ(parsed.entry.teamLabels[8], "2");
}

}  // namespace
}  // namespace morvane
