// Walks the scenario records after the player list to the eight team bytes.
#include <array>

#include "recording/header_stages.h"

namespace morvane {
namespace {

// Scenario record and sub-record layout, in bytes. A sub-record holds a count
// of int32 values and two stored texts; a record two stored texts, its
// sub-records and a count of 72-byte entries.
constexpr int64_t kSubRecordBeforeValueCount = 24;
constexpr int64_t kSubRecordBeforeTexts = 72;
constexpr int64_t kRecordBeforeTexts = 18;
constexpr int64_t kRecordBytesPerEntry = 72;
constexpr int64_t kBytesPerCount = 4;  // the int32 list that follows each counted list
constexpr int64_t kCountBeforeList = 1;
constexpr int64_t kTeamBytesToChat = 31;
constexpr int32_t kNoValues = -1;  // a value count that means none
constexpr uint8_t kNoTeam = 1;     // team bytes count from it: 2 is team 1

// Every length moves the position forward; a record or sub-record that does
// not is damage, and following it could loop for billions of rounds.
void failUnlessMoved(ByteReader& q, int64_t start) {
  if (q.position() <= start) q.fail();
}

void walkSubRecord(ByteReader& q) {
  const int64_t start = q.position();
  q.skip(kSubRecordBeforeValueCount);
  int32_t values = q.i32();
  if (values == kNoValues) values = 0;
  q.skip(kSubRecordBeforeTexts);
  q.skipLength(q.i32());
  q.skipLength(q.i32());
  q.skip(kBytesPerCount * int64_t{values});
  failUnlessMoved(q, start);
}

void walkScenarioRecord(ByteReader& q) {
  const int64_t start = q.position();
  q.skip(kRecordBeforeTexts);
  q.skipLength(q.i32());
  q.skipLength(q.i32());
  const int32_t subRecords = q.i32();
  for (int32_t i = 0; i < subRecords && !q.failed(); ++i) walkSubRecord(q);
  q.skip(kBytesPerCount * int64_t{subRecords});
  const int32_t entries = q.i32();
  if (entries > 0) q.skip(kRecordBytesPerEntry * int64_t{entries});
  q.skip(kBytesPerCount * int64_t{entries});
  failUnlessMoved(q, start);
}

std::string teamLabel(uint8_t teamByte) {
  if (teamByte == kNoTeam) return "-";
  return std::to_string(static_cast<int>(teamByte) - kNoTeam);
}

}  // namespace

TeamWalk parseTeams(ByteSpan header, int64_t listEnd, GameEntry& entry) {
  TeamWalk result;
  ByteReader q(header, listEnd + kCountBeforeList);
  const int32_t count = q.i32();
  if (q.failed()) return result;
  result.scenarioRecordCount = count;

  for (int32_t n = 0; n < count && !q.failed(); ++n) walkScenarioRecord(q);
  q.skip(kBytesPerCount * int64_t{count});
  const int64_t teamBytes = q.position();
  std::array<uint8_t, GameEntry::kPositions> team{};
  for (int k = 1; k < GameEntry::kPositions; ++k) team[k] = q.u8();
  if (q.failed()) return result;

  for (int k = 1; k < GameEntry::kPositions; ++k) entry.teamLabels[k] = teamLabel(team[k]);
  result.teamBytes = teamBytes;
  result.chatScanStart = teamBytes + kTeamBytesToChat;
  result.reached = true;
  return result;
}

}  // namespace morvane
