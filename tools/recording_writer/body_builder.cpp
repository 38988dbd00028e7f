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

int64_t BodyBuilder::rewritten(uint8_t id, uint8_t player, const std::vector<uint8_t>& fields) {
  ByteWriter c;
  c.u8(id);
  c.u8(player);
  c.i16(static_cast<int16_t>(fields.size()));
  c.raw(fields);
  return command(c.take());
}

int64_t BodyBuilder::researchAt(CommandLayout layout, uint8_t player, int16_t technology,
                                uint32_t building) {
  ByteWriter c;
  if (layout == CommandLayout::kRewritten) {
    c.u32(building);
    c.i16(1);  // selected
    c.i16(technology);
    c.fill(5, 0xFF);
    c.u32(building);
    return rewritten(0x65, player, c.take());
  }
  c.u8(0x65);
  c.zeros(3);
  c.u32(building);
  c.i16(player);
  if (layout == CommandLayout::kDefinitive) {
    c.i16(1);
    c.i32(technology);
  } else {
    c.i16(technology);
  }
  c.i32(-1);
  c.padTo(24);
  return command(c.take());
}

int64_t BodyBuilder::order(CommandLayout layout, uint8_t id, uint8_t player,
                           const std::vector<uint32_t>& selected) {
  ByteWriter c;
  const int32_t count = selected.empty() ? -1 : static_cast<int32_t>(selected.size());
  if (layout == CommandLayout::kRewritten) {
    c.i32(-1);  // target
    c.f32(10.5f);
    c.f32(20.5f);
    c.i16(static_cast<int16_t>(count));
    c.zeros(6);
    for (const uint32_t object : selected) c.u32(object);
    return rewritten(id, player, c.take());
  }
  c.u8(id);
  c.u8(player);
  c.zeros(2);
  c.i32(-1);
  c.i32(selected.empty() ? 0xFF : count);
  c.f32(10.5f);
  c.f32(20.5f);
  if (!selected.empty()) c.fill(4, 1);  // flags, as some patches write them
  for (const uint32_t object : selected) c.u32(object);
  return command(c.take());
}

int64_t BodyBuilder::build(CommandLayout layout, uint8_t player, int32_t building, float x,
                           float y, const std::vector<uint32_t>& villagers) {
  ByteWriter c;
  if (layout == CommandLayout::kRewritten) {
    c.i16(static_cast<int16_t>(villagers.size()));
    c.zeros(2);
    c.f32(x);
    c.f32(y);
    c.i32(building);
    c.zeros(12);
    for (const uint32_t v : villagers) c.u32(v);
    return rewritten(0x66, player, c.take());
  }
  c.u8(0x66);
  c.u8(static_cast<uint8_t>(villagers.size()));
  c.i16(player);
  c.f32(x);
  c.f32(y);
  c.i32(building);
  c.i32(-1);
  c.i32(1);  // sprite
  for (const uint32_t v : villagers) c.u32(v);
  return command(c.take());
}

int64_t BodyBuilder::wall(CommandLayout layout, uint8_t player, int32_t building, uint8_t x1,
                          uint8_t y1, uint8_t x2, uint8_t y2) {
  ByteWriter c;
  if (layout == CommandLayout::kRewritten) {
    c.u32(1);
    for (const uint8_t v : {x1, y1, x2, y2}) c.i16(v);
    c.i32(building);
    c.zeros(8);
    c.u32(700);
    return rewritten(0x69, player, c.take());
  }
  c.u8(0x69);
  c.u8(1);  // selected
  c.u8(player);
  if (layout == CommandLayout::kDefinitive) {
    c.zeros(1);
    for (const uint8_t v : {x1, y1, x2, y2}) c.i16(v);
  } else {
    for (const uint8_t v : {x1, y1, x2, y2}) c.u8(v);
    c.zeros(1);
  }
  c.i32(building);
  c.zeros(4);
  c.u32(700);
  return command(c.take());
}

int64_t BodyBuilder::queue(uint32_t building, int16_t unit, int16_t count) {
  ByteWriter c;
  c.u8(0x77);
  c.zeros(3);
  c.u32(building);
  c.i16(unit);
  c.i16(count);
  return command(c.take());
}

int64_t BodyBuilder::multiQueue(int16_t unit, uint8_t count,
                                const std::vector<uint32_t>& buildings) {
  ByteWriter c;
  c.u8(0x70);
  c.zeros(3);
  c.i16(unit);
  c.u8(static_cast<uint8_t>(buildings.size()));
  c.u8(count);
  for (const uint32_t b : buildings) c.u32(b);
  return command(c.take());
}

int64_t BodyBuilder::playerQueue(CommandLayout layout, uint8_t player, int16_t unit,
                                 int16_t count, const std::vector<uint32_t>& buildings) {
  ByteWriter c;
  if (layout == CommandLayout::kRewritten) {
    c.i16(static_cast<int16_t>(buildings.size()));
    c.zeros(4);
    c.i16(12);  // the building's type
    c.i16(unit);
    c.i16(count);
    c.zeros(4);
    for (const uint32_t b : buildings) c.u32(b);
    return rewritten(0x81, player, c.take());
  }
  c.u8(0x81);
  c.u8(player);
  c.i16(12);
  c.u8(static_cast<uint8_t>(buildings.size()));
  c.zeros(1);
  c.i16(unit);
  c.u8(static_cast<uint8_t>(count));
  c.zeros(1);
  for (const uint32_t b : buildings) c.u32(b);
  return command(c.take());
}

int64_t BodyBuilder::tribute(uint8_t player, uint8_t to, uint8_t resource, float amount,
                             float fee) {
  ByteWriter c;
  c.u8(0x6C);
  c.u8(player);
  c.u8(to);
  c.u8(resource);
  c.f32(amount);
  c.f32(fee);
  return command(c.take());
}

int64_t BodyBuilder::tributeAll(CommandLayout layout, uint8_t player, uint8_t to,
                                const std::array<float, 4>& woodFoodGoldStone) {
  ByteWriter c;
  if (layout == CommandLayout::kRewritten) {
    for (const float v : woodFoodGoldStone) c.f32(v);
    c.zeros(16 + 8);  // costs, attributes
    c.u8(to);
    return rewritten(0xC4, player, c.take());
  }
  c.u8(0xC4);
  c.u8(player);
  c.u8(to);
  c.zeros(1 + 4);
  for (const float v : woodFoodGoldStone) c.f32(v);
  return command(c.take());
}

int64_t BodyBuilder::trade(CommandLayout layout, bool buy, uint8_t player, uint8_t resource,
                           uint8_t lots) {
  const uint8_t id = buy ? 0x7B : 0x7A;
  ByteWriter c;
  if (layout == CommandLayout::kRewritten) {
    c.i16(resource);
    c.i16(lots);
    c.u32(900);  // the market
    return rewritten(id, player, c.take());
  }
  c.u8(id);
  c.u8(player);
  c.u8(resource);
  c.u8(lots);
  c.u32(900);
  return command(c.take());
}

void BodyBuilder::playSample(CommandLayout layout) {
  const bool earlier = layout == CommandLayout::kEarlier;
  timeStep(1000);
  order(layout, 0x03, 1, {401, 402});
  order(layout, 0x00, 2, {});
  researchAt(layout, 1, 22, 500);
  build(layout, 2, 70, 12.5f, 30.0f, {601});
  timeStep(60000);
  wall(layout, 1, 72, 3, 4, 9, 4);
  if (earlier) {
    queue(500, 83, 2);
    multiQueue(4, 1, {777, 500});
    queue(12345, 83, 1);  // a building nobody is known to own
    tribute(1, 2, 3, 100.0f, 0.3f);
  } else {
    playerQueue(layout, 2, 83, 3, {520});
    tributeAll(layout, 1, 2, {100.0f, 0, 50.0f, 0});
  }
  trade(layout, true, 2, 1, 1);
  trade(layout, false, 1, 0, 2);
  timeStep(500);
  command({0xEE, 1, 0, 0, 0, 0});  // a type no form knows
  command({0x66, 1, 2, 0, 0, 0});  // a build command cut short
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
