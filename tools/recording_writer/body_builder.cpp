#include "recording_writer/body_builder.h"

#include "recording_writer/header_builder.h"

namespace morvane::fixtures {

int64_t BodyBuilder::chatAfter(int32_t first, int32_t second, std::string_view message,
                               std::optional<int32_t> declaredLength) {
  i32(first);
  i32(second);
  appendChatMessage(*this, message, declaredLength);
  return size() - static_cast<int64_t>(message.size());
}

int64_t BodyBuilder::start(bool baseGame) {
  const int64_t at = size();
  if (!baseGame) i32(4);
  i32(500);
  i32(1);  // multiplayer
  i32(1);  // recording player
  zeros(baseGame ? 24 : 12);
  return at;
}

int64_t BodyBuilder::timeStep(int32_t ms, bool checksum, int32_t sequence,
                              uint32_t worldChecksum) {
  const int64_t at = i32(2);
  i32(ms);
  if (checksum) {
    zeros(8);
    u32(worldChecksum);
    zeros(4);
    i32(sequence);
    zeros(8 + (sequence != 0 ? 332 : 0));
  }
  return at;
}

int64_t BodyBuilder::viewLock() {
  const int64_t at = i32(3);
  zeros(8);
  i32(1);
  return at;
}

int64_t BodyBuilder::command(const std::vector<uint8_t>& bytes,
                             std::optional<int32_t> declaredLength) {
  const int64_t at = i32(1);
  i32(declaredLength.value_or(static_cast<int32_t>(bytes.size())));
  raw(bytes);
  zeros(4);
  return at;
}

int64_t BodyBuilder::research(int16_t player, int16_t technology, int32_t length) {
  ByteWriter bytes;
  bytes.u8(0x65);
  bytes.zeros(3);
  bytes.i32(5000);  // the building
  bytes.i16(player);
  bytes.i16(technology);
  bytes.i32(-1);
  bytes.padTo(length);
  return command(bytes.take());
}

namespace {

// 252 bytes: name, scores, flags, then the military, economy, technology and
// society sections with their padding.
void writeRecord(ByteWriter& block, const PostGameRecord& r) {
  const int64_t start = block.zeros(16);
  block.setText(start, r.name.substr(0, 15));
  block.i16(static_cast<int16_t>(r.totalScore));
  block.zeros(16);  // a score against each player
  block.u8(r.victory ? 1 : 0);
  block.zeros(5);  // civilisation, colour, team, allies, unused
  block.u8(0);     // MVP
  block.zeros(7);
  block.i16(0);  // military score
  block.i16(static_cast<int16_t>(r.unitsKilled));
  block.zeros(12 + 32);  // the rest of the section, kills and razings by opponent
  block.zeros(4);        // economy score, unused
  block.u32(r.foodCollected);
  block.zeros(12 + 8 + 16);  // wood, stone, gold, tribute and trade, tribute by opponent
  block.zeros(4);            // technology score, unused
  for (const int32_t seconds : r.ageSeconds) block.i32(seconds);
  block.zeros(3 + 1);
  block.zeros(6);  // society score, wonders, castles, relics, unused
  block.i16(static_cast<int16_t>(r.villagerHigh));
  block.zeros(84);
}

}  // namespace

int64_t BodyBuilder::postGame(const std::vector<PostGameRecord>& records, int32_t seconds,
                              bool complete, std::optional<int64_t> keep) {
  ByteWriter block;
  block.u8(0xFF);
  block.zeros(3 + 32);
  block.u8(static_cast<uint8_t>(records.size()));
  block.zeros(3);
  block.i32(seconds);
  block.u8(0);  // cheats
  block.u8(complete ? 1 : 0);
  block.zeros(30);
  for (std::size_t k = 0; k < 8; ++k)
    writeRecord(block, k < records.size() ? records[k] : PostGameRecord{});
  block.zeros(4);
  std::vector<uint8_t> bytes = block.take();
  if (keep) bytes.resize(static_cast<std::size_t>(*keep));
  return command(bytes, 2096);
}

int64_t BodyBuilder::savedChapter(int64_t bodyOffset, int64_t embedded) {
  const int64_t at = size();
  i32(static_cast<int32_t>(bodyOffset + at + 8 + embedded));
  zeros(4);
  fill(embedded, 0x78);
  return at;
}

}  // namespace morvane::fixtures
