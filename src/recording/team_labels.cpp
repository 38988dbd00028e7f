// Walks the scenario records after the player list to the eight team bytes.
#include <array>

#include "recording/header_stages.h"

namespace morvane {
namespace {

// Scenario record and sub-record layout, in bytes.
constexpr int64_t kSubRecordBeforeV = 24;
constexpr int64_t kSubRecordBeforeC = 72;
constexpr int64_t kRecordBeforeA = 18;
constexpr int64_t kRecordBytesPerW = 72;
constexpr int64_t kBytesPerCount = 4;  // the int32 list that follows each counted list
constexpr int64_t kCountBeforeList = 1;
constexpr int64_t kTeamBytesToChat = 31;

// Every length moves the position forward; a record or sub-record that does
// not is damage, and following it could loop for billions of rounds.
void failUnlessMoved(ByteReader& q, int64_t start) {
  if (q.position() <= start) q.fail();
}

void walkSubRecord(ByteReader& q) {
  const int64_t start = q.position();
  q.skip(kSubRecordBeforeV);
  int32_t v = q.i32();
  if (v == -1) v = 0;
  q.skip(kSubRecordBeforeC);
  q.skipLength(q.i32());
  q.skipLength(q.i32());
  q.skip(kBytesPerCount * int64_t{v});
  failUnlessMoved(q, start);
}

void walkScenarioRecord(ByteReader& q) {
  const int64_t start = q.position();
  q.skip(kRecordBeforeA);
  q.skipLength(q.i32());
  q.skipLength(q.i32());
  const int32_t s = q.i32();
  for (int32_t i = 0; i < s && !q.failed(); ++i) walkSubRecord(q);
  q.skip(kBytesPerCount * int64_t{s});
  const int32_t w = q.i32();
  if (w > 0) q.skip(kRecordBytesPerW * int64_t{w});
  q.skip(kBytesPerCount * int64_t{w});
  failUnlessMoved(q, start);
}

std::string teamLabel(uint8_t teamByte) {
  if (teamByte == 1) return "-";
  return std::to_string(static_cast<int>(teamByte) - 1);
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
