// Three unused bytes, a 32-byte scenario name, the counts, the length and the
// game's settings, then eight player records of fixed size and 4 bytes more.
#include "recording/post_game.h"

namespace morvane {
namespace {

constexpr int64_t kPlayerCountAt = 35;
constexpr int64_t kDurationAt = 39;
constexpr int64_t kCompleteAt = 44;
constexpr int64_t kFirstPlayerAt = 75;
constexpr int64_t kPlayerBytes = 252;
constexpr int64_t kVictoryInPlayer = 34;
constexpr int kPlayerRecords = 8;
constexpr int64_t kBlockBytes = kFirstPlayerAt + kPlayerRecords * kPlayerBytes + 4;

}  // namespace

std::optional<PostGame> readPostGame(ByteSpan body, int64_t at, int64_t count) {
  if (count < kBlockBytes || !body.contains(at, kBlockBytes)) return std::nullopt;
  PostGame block;
  block.playerCount = *body.u8(at + kPlayerCountAt);
  if (block.playerCount > kPlayerRecords) return std::nullopt;
  block.durationSeconds = *body.i32(at + kDurationAt);
  block.complete = *body.u8(at + kCompleteAt) != 0;
  for (int k = 0; k < block.playerCount; ++k) {
    block.victory[static_cast<std::size_t>(k)] =
        *body.u8(at + kFirstPlayerAt + k * kPlayerBytes + kVictoryInPlayer) != 0;
  }
  return block;
}

}  // namespace morvane
