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

int64_t BodyBuilder::timeStep(int32_t ms, bool checksum, int32_t sequence) {
  const int64_t at = i32(2);
  i32(ms);
  if (checksum) {
    zeros(16);
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

int64_t BodyBuilder::postGame(const std::vector<bool>& victory, int32_t seconds, bool complete,
                              std::optional<int64_t> keep) {
  ByteWriter block;
  block.u8(0xFF);
  block.zeros(3 + 32);
  block.u8(static_cast<uint8_t>(victory.size()));
  block.zeros(3);
  block.i32(seconds);
  block.u8(0);  // cheats
  block.u8(complete ? 1 : 0);
  block.zeros(30);
  for (std::size_t k = 0; k < 8; ++k) {
    const int64_t player = block.zeros(252);
    if (k < victory.size()) block.setU8(player + 34, victory[k] ? 1 : 0);
  }
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
