// Three unused bytes, a 32-byte scenario name, the counts, the length and the
// game's settings, then eight seat records of fixed size and 4 bytes more.
// A record: the name, scores, flags, then the military, economy, technology
// and society sections, each with its own padding.
#include "recording/post_game.h"

namespace morvane {
namespace {

constexpr int64_t kDurationAt = 39;
constexpr int64_t kCompleteAt = 44;
constexpr int64_t kFirstRecordAt = 75;
constexpr int64_t kRecordBytes = 252;
constexpr int64_t kBlockBytes = kFirstRecordAt + kPostGameRecords * kRecordBytes + 4;

constexpr int64_t kNameBytes = 16;
constexpr int64_t kTotalScoresBytes = 16;  // a score against each player
constexpr int64_t kAfterVictory = 5;       // civilisation, colour, team, allies, unused
constexpr int64_t kAfterMvp = 7;           // unused, the result byte, unused
constexpr int64_t kBeforeSociety = 1;

std::array<int32_t, 8> byOpponent(ByteReader& q) {
  std::array<int32_t, 8> values = {};
  for (int32_t& value : values) value = q.u16();
  return values;
}

void readMilitary(ByteReader& q, Achievements& a) {
  Achievements::Military& m = a.military;
  for (int32_t* field :
       {&m.score, &m.unitsKilled, &m.hitPointsKilled, &m.unitsLost, &m.buildingsRazed,
        &m.hitPointsRazed, &m.buildingsLost, &m.unitsConverted}) {
    *field = q.u16();
  }
  a.unitsKilledOf = byOpponent(q);
  a.buildingsRazedOf = byOpponent(q);
}

void readEconomy(ByteReader& q, Achievements& a) {
  Achievements::Economy& e = a.economy;
  e.score = q.u16();
  q.skip(2);
  for (int32_t* field : {&e.foodCollected, &e.woodCollected, &e.stoneCollected, &e.goldCollected})
    *field = q.i32();
  for (int32_t* field : {&e.tributeSent, &e.tributeReceived, &e.tradeGold, &e.relicGold})
    *field = q.u16();
  a.tributeSentTo = byOpponent(q);
}

void readTechnology(ByteReader& q, Achievements& a) {
  Achievements::Technology& t = a.technology;
  t.score = q.u16();
  q.skip(2);
  for (int32_t* field : {&t.feudalTime, &t.castleTime, &t.imperialTime}) *field = q.i32();
  for (int32_t* field : {&t.exploredPercent, &t.researchCount, &t.researchPercent}) *field = q.u8();
}

void readSociety(ByteReader& q, Achievements& a) {
  Achievements::Society& s = a.society;
  s.score = q.u16();
  for (int32_t* field : {&s.totalWonders, &s.totalCastles, &s.relicsCaptured}) *field = q.u8();
  q.skip(1);
  s.villagerHigh = q.u16();
}

std::optional<Achievements> readRecord(ByteSpan body, int64_t at) {
  if (body.text(at, kNameBytes, kNameBytes).empty()) return std::nullopt;
  Achievements a;
  ByteReader q(body, at + kNameBytes);
  a.totalScore = q.u16();
  q.skip(kTotalScoresBytes);
  a.victory = q.u8() != 0;
  q.skip(kAfterVictory);
  a.mvp = q.u8() != 0;
  q.skip(kAfterMvp);
  readMilitary(q, a);
  readEconomy(q, a);
  readTechnology(q, a);
  q.skip(kBeforeSociety);
  readSociety(q, a);
  if (q.failed()) return std::nullopt;
  return a;
}

}  // namespace

std::optional<PostGame> readPostGame(ByteSpan body, int64_t at, int64_t count) {
  if (count < kBlockBytes || !body.contains(at, kBlockBytes)) return std::nullopt;
  PostGame block;
  block.durationSeconds = *body.i32(at + kDurationAt);
  block.complete = *body.u8(at + kCompleteAt) != 0;
  for (int k = 0; k < kPostGameRecords; ++k) {
    block.records[static_cast<std::size_t>(k)] =
        readRecord(body, at + kFirstRecordAt + k * kRecordBytes);
  }
  return block;
}

}  // namespace morvane
