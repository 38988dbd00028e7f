// The body's operations walked by their lengths: commands, time steps, view
// locks, chat and start records, saved chapters. Nothing is searched for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "recording/byte_reader.h"
#include "recording/game_facts.h"
#include "recording/game_version.h"

namespace morvane {

struct SeatResignation {
  int32_t player = 0;  // player number
  int32_t seat = 0;    // list position; co-op seats share a player number
  int64_t timeMs = 0;
};

// A research command for an age; the recording does not mark a cancel, so
// every click is kept.
struct AgeClick {
  int32_t player = 0;  // player number
  Age age = Age::kFeudal;
  int64_t timeMs = 0;  // walk time, the restore time not included
};

struct BodyWalk {
  int64_t durationMs = 0;  // the time steps read, until the walk stopped
  BodyStop stop = BodyStop::kEnd;
  int64_t stoppedAt = 0;                      // offset of the operation the walk stopped at
  std::vector<SeatResignation> resignations;  // in body order
  std::vector<AgeClick> ageClicks;            // in body order
  // The last post-game command: offset of its bytes after the command id,
  // and their count.
  std::optional<int64_t> postGameAt;
  int64_t postGameBytes = 0;
  std::vector<std::pair<int64_t, int32_t>> chat;  // each chat message's text: offset, length
  std::vector<int64_t> chatTimesMs;               // each chat message's walk time, as chat
  // The world checksums of the first checksum blocks, in body order: every
  // client of one game computes the same ones.
  std::vector<uint32_t> syncChecksums;
};

// How many of the first checksum blocks a walk keeps.
inline constexpr std::size_t kKeptSyncChecksums = 8;

// A step longer than this is not game time but damage.
inline constexpr int64_t kLongestTimeStepMs = int64_t{60} * 60 * 1000;

// Handed each command the walk passes: its id's offset in the body, its
// stated length (the id included, at least 1, all inside the body) and the
// walk time.
class CommandVisitor {
 public:
  virtual ~CommandVisitor() = default;
  virtual void command(int64_t start, int32_t length, int64_t timeMs) = 0;
};

// bodyOffset is the body's offset in the file: a saved chapter states where
// it ends as a file offset.
BodyWalk walkBody(ByteSpan body, int64_t bodyOffset, const BodyLayout& layout,
                  CommandVisitor* visitor = nullptr);

}  // namespace morvane
