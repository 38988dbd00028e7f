// The AI section, in the order the edition writes it: a string table, then
// one rule list per player, then fixed tables that the game writes even when
// empty. Each of these is checked, so a walk that lost its way is refused at
// the section's end at the latest.
#include "recording/de_ai_section.h"

namespace morvane {
namespace {

constexpr int64_t kMaxStringBytes = 65535;
// Two values and a byte written between the strings and the rule lists.
constexpr uint16_t kAfterStringsFirst = 240;
constexpr uint16_t kAfterStringsSecond = 230;
constexpr uint16_t kRuleLists = 8;  // one per player
constexpr int32_t kUnusedListId = -1;
constexpr int64_t kCommandBytes = 24;  // each fact or action of a rule
constexpr int64_t kAfterCommands = 8;
constexpr int kGroupTables = 8;
constexpr int64_t kAfterGroupTables = 2 * 4 + 9 * 4;  // two floats, nine int32s
constexpr int64_t kFilledBytes = 2624;                // all 0xFF
constexpr int64_t kZeroBytes = 4096;

bool isFlag(int32_t value) { return value == 0 || value == 1; }

void skipStrings(ByteReader& q) {
  const uint16_t capacity = q.u16();
  const uint16_t count = q.u16();
  if (count > capacity || q.i32() != 0) q.fail();
  for (int s = 0; s < count && !q.failed(); ++s) {
    const int32_t length = q.i32();
    if (length > kMaxStringBytes) q.fail();
    q.skipLength(length);
  }
}

void skipRule(ByteReader& q) {
  const int32_t inUse = q.i32();
  const int32_t enabled = q.i32();
  q.skip(2 + 2);  // id, next
  const uint8_t facts = q.u8();
  const uint8_t commands = q.u8();  // facts and actions
  q.skip(2);
  if (!isFlag(inUse) || !isFlag(enabled) || facts > commands) q.fail();
  q.skip(kCommandBytes * commands + kAfterCommands);
}

void skipRuleList(ByteReader& q) {
  const int32_t inUse = q.i32();
  const int32_t id = q.i32();
  const uint16_t capacity = q.u16();
  const uint16_t rules = q.u16();
  if (!isFlag(inUse) || rules > capacity || q.i32() != 0) q.fail();
  // An unused list has no id and no rules.
  if ((inUse == 0) != (id == kUnusedListId) || (inUse == 0 && rules != 0)) q.fail();
  for (int r = 0; r < rules && !q.failed(); ++r) skipRule(q);
}

void skipAiSection(ByteReader& q) {
  skipStrings(q);
  if (q.u16() != kAfterStringsFirst || q.u16() != kAfterStringsSecond || q.u8() != 0 ||
      q.u16() != kRuleLists) {
    q.fail();
  }
  for (int l = 0; l < kRuleLists && !q.failed(); ++l) skipRuleList(q);
  // Empty group tables: a capacity and a count of none.
  for (int g = 0; g < kGroupTables && !q.failed(); ++g) {
    q.skip(4);
    if (q.i32() != 0) q.fail();
  }
  q.skip(kAfterGroupTables);
  q.expectRun(kFilledBytes, 0xFF);
  q.expectRun(kZeroBytes, 0x00);
}

}  // namespace

std::optional<int64_t> replaySectionAt(ByteSpan header, int64_t flagAt) {
  ByteReader q(header, flagAt);
  const int32_t flag = q.i32();
  if (!isFlag(flag)) q.fail();
  if (flag == 1) skipAiSection(q);
  if (q.failed()) return std::nullopt;
  return q.position();
}

}  // namespace morvane
