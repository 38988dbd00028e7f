// Operation by operation: each states its type, and its length either in a
// field or by its type, so the walk never has to guess where the next starts.
#include "recording/body_walk.h"

namespace morvane {
namespace {

constexpr int32_t kCommand = 1;
constexpr int32_t kTimeStep = 2;
constexpr int32_t kViewLock = 3;
constexpr int32_t kMessage = 4;

constexpr int32_t kChecksumInterval = 500;  // opens every start record
constexpr int32_t kChat = -1;

constexpr uint8_t kResign = 0x0B;
constexpr uint8_t kResearch = 0x65;
constexpr uint8_t kPostGame = 0xFF;
constexpr int16_t kFeudalAge = 101;  // technologies 101 to 103, in age order
constexpr int64_t kCommandTail = 4;  // after a command's stated bytes

constexpr int64_t kViewLockBytes = 12;
constexpr int64_t kChecksumBytes = 28;   // a time step's checksum block
constexpr int64_t kWorldChecksumAt = 8;  // in that block
constexpr int64_t kSequenceAt = 16;      // in that block
constexpr int64_t kSequenceBytes = 332;

class Walker {
 public:
  Walker(ByteSpan body, int64_t bodyOffset, const BodyLayout& layout, CommandVisitor* visitor)
      : body_(body), bodyOffset_(bodyOffset), layout_(layout), visitor_(visitor) {}

  BodyWalk run() {
    if (body_.i32(layout_.checksumIntervalAt) != kChecksumInterval ||
        !body_.contains(0, layout_.startBytes)) {
      return stop(BodyStop::kNoStart, 0);
    }
    int64_t p = layout_.startBytes;
    if (body_.i32(p) == 0) p += layout_.startZeros;
    while (p < body_.size()) {
      const auto op = body_.i32(p);
      if (!op) return stop(BodyStop::kOverrun, p);
      std::optional<int64_t> next;
      switch (*op) {
        case kCommand:
          next = command(p);
          break;
        case kTimeStep:
          next = timeStep(p);
          break;
        case kViewLock:
          next = p + 4 + kViewLockBytes;
          break;
        case kMessage:
          next = message(p);
          break;
        default:
          next = savedChapter(p, *op);
          break;
      }
      if (!next) return walk_;
      if (*next > body_.size()) return stop(BodyStop::kOverrun, p);
      p = *next;
    }
    return walk_;
  }

 private:
  BodyWalk stop(BodyStop why, int64_t at) {
    walk_.stop = why;
    walk_.stoppedAt = at;
    return walk_;
  }

  std::optional<int64_t> fail(BodyStop why, int64_t at) {
    stop(why, at);
    return std::nullopt;
  }

  // int32 length, that many bytes (the command id first), 4 more bytes.
  std::optional<int64_t> command(int64_t p) {
    const auto length = body_.i32(p + 4);
    const int64_t start = p + 8;
    if (!length || *length < 1 || !body_.contains(start, *length + kCommandTail)) {
      return fail(BodyStop::kOverrun, p);
    }
    if (visitor_) visitor_->command(start, *length, walk_.durationMs);
    const uint8_t id = *body_.u8(start);
    if (id == kResign && *length >= 3) {
      walk_.resignations.push_back({*body_.u8(start + 1), *body_.u8(start + 2), walk_.durationMs});
    } else if (id == kResearch) {
      research(start, *length);
    } else if (id == kPostGame) {
      walk_.postGameAt = start + 1;
      walk_.postGameBytes = *length - 1;
    }
    return start + *length + kCommandTail;
  }

  void research(int64_t start, int32_t length) {
    if (layout_.researchTechAt + 2 > length ||
        layout_.researchPlayerAt + layout_.researchPlayerBytes > length) {
      return;
    }
    const int tech = *body_.i16(start + layout_.researchTechAt) - kFeudalAge;
    if (tech < 0 || tech >= kAges) return;
    const int64_t playerAt = start + layout_.researchPlayerAt;
    const int32_t player =
        layout_.researchPlayerBytes == 1 ? *body_.u8(playerAt) : *body_.i16(playerAt);
    walk_.ageClicks.push_back({player, static_cast<Age>(tech), walk_.durationMs});
  }

  // int32 milliseconds; then, where the next int32 is 0, a checksum block,
  // its world checksum after another int32.
  std::optional<int64_t> timeStep(int64_t p) {
    const auto step = body_.i32(p + 4);
    if (!step) return fail(BodyStop::kOverrun, p);
    if (*step < 0 || *step > kLongestTimeStepMs) return fail(BodyStop::kImplausibleStep, p);
    walk_.durationMs += *step;
    int64_t end = p + 8;
    const auto next = body_.i32(end);
    if (next == 0) {
      const auto sequence = body_.i32(end + kSequenceAt);
      if (!sequence) return fail(BodyStop::kOverrun, p);
      if (walk_.syncChecksums.size() < kKeptSyncChecksums)
        walk_.syncChecksums.push_back(static_cast<uint32_t>(*body_.i32(end + kWorldChecksumAt)));
      end += kChecksumBytes + (*sequence != 0 ? kSequenceBytes : 0);
    }
    return end;
  }

  // A chat line (-1, int32 length, text) or a start record (500, ...).
  std::optional<int64_t> message(int64_t p) {
    const auto kind = body_.i32(p + 4);
    if (kind == kChat) {
      const auto length = body_.i32(p + 8);
      if (!length || *length < 0) return fail(BodyStop::kOverrun, p);
      walk_.chat.emplace_back(p + 12, *length);
      walk_.chatTimesMs.push_back(walk_.durationMs);
      return p + 12 + *length;
    }
    if (kind == kChecksumInterval) return p + 8 + layout_.startAfterInterval;
    if (!kind) return fail(BodyStop::kOverrun, p);
    return fail(BodyStop::kUnknownOperation, p);
  }

  // A saved chapter opens with the file offset at which the body goes on,
  // past its own embedded header.
  std::optional<int64_t> savedChapter(int64_t p, int32_t endInFile) {
    const int64_t end = int64_t{endInFile} - bodyOffset_;
    if (end <= p + 8 || end > body_.size()) return fail(BodyStop::kUnknownOperation, p);
    return end;
  }

  ByteSpan body_;
  int64_t bodyOffset_;
  const BodyLayout& layout_;
  CommandVisitor* visitor_;
  BodyWalk walk_;
};

}  // namespace

BodyWalk walkBody(ByteSpan body, int64_t bodyOffset, const BodyLayout& layout,
                  CommandVisitor* visitor) {
  return Walker(body, bodyOffset, layout, visitor).run();
}

}  // namespace morvane
