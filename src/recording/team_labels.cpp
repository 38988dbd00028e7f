// Walks the scenario records after the player list to the eight team bytes.
#include <optional>

#include "recording/header_stages.h"

namespace morvane {
namespace {

// Every length moves the position forward; a record or sub-record that does
// not is damage, and following it could loop for billions of rounds.
class Walk {
 public:
  Walk(ByteSpan header, int64_t start) : header_(header), q_(start) {}

  std::optional<int32_t> read(int64_t offset) {
    auto v = header_.i32(q_ + offset);
    if (!v) failed_ = true;
    return v;
  }
  void skip(int64_t count) { q_ += count; }
  void skipLength(std::optional<int32_t> length) {
    if (!length || *length < 0) {
      failed_ = true;
      return;
    }
    q_ += *length;
  }
  int64_t position() const { return q_; }
  bool failed() const { return failed_ || !header_.contains(q_, 0); }
  void fail() { failed_ = true; }

 private:
  ByteSpan header_;
  int64_t q_;
  bool failed_ = false;
};

void walkSubRecord(Walk& walk) {
  const int64_t start = walk.position();
  int32_t v = walk.read(24).value_or(0);
  if (v == -1) v = 0;
  walk.skip(100);
  const auto c = walk.read(0);
  walk.skip(4);
  walk.skipLength(c);
  const auto d = walk.read(0);
  walk.skip(4);
  walk.skipLength(d);
  walk.skip(4 * int64_t{v});
  if (walk.position() <= start) walk.fail();
}

void walkScenarioRecord(Walk& walk) {
  const int64_t start = walk.position();
  walk.skip(18);
  const auto a = walk.read(0);
  walk.skip(4);
  walk.skipLength(a);
  const auto b = walk.read(0);
  walk.skip(4);
  walk.skipLength(b);
  const int32_t s = walk.read(0).value_or(0);
  walk.skip(4);
  for (int32_t i = 0; i < s && !walk.failed(); ++i) walkSubRecord(walk);
  walk.skip(4 * int64_t{s});
  const int32_t w = walk.read(0).value_or(0);
  walk.skip(4);
  if (w > 0) walk.skip(72 * int64_t{w});
  walk.skip(4 * int64_t{w});
  if (walk.position() <= start) walk.fail();
}

std::string teamLabel(uint8_t teamByte) {
  if (teamByte == 1) return "-";
  return std::to_string(static_cast<int>(teamByte) - 1);
}

}  // namespace

TeamWalk parseTeams(ByteSpan header, int64_t listEnd, GameEntry& entry) {
  TeamWalk result;
  const auto count = header.i32(listEnd + 1);
  if (!count) return result;
  result.scenarioRecordCount = *count;

  Walk walk(header, listEnd + 5);
  for (int32_t n = 0; n < *count && !walk.failed(); ++n) walkScenarioRecord(walk);
  walk.skip(4 * int64_t{*count});
  if (walk.failed() || !header.contains(walk.position(), 8)) return result;

  const int64_t teamBytes = walk.position();
  for (int k = 1; k < GameEntry::kPositions; ++k) {
    entry.teamLabels[k] = teamLabel(*header.u8(teamBytes + k - 1));
  }
  result.chatScanStart = teamBytes + 31;
  result.reached = true;
  return result;
}

}  // namespace morvane
