// Reader of one recorded game: checks the container, inflates the header and
// reads the body into memory, then fills a GameEntry from them.
#pragma once

#include <cstdint>
#include <string>

#include "recording/byte_buffer.h"
#include "recording/game_entry.h"
#include "recording/game_version.h"

namespace morvane {

// Why the last load answered false; kNone after a successful load.
enum class LoadError {
  kNone,
  kCannotOpen,
  kTooShort,
  kBodyOffsetOutOfRange,
  kReadFailed,
  kTemporaryFile,
  kHeaderTooLarge,
  kInflateInit,
  kCorruptHeader,
  kTruncatedHeader,
  kWriteFailed,
  kOutOfMemory,
  // The header states a version the version table holds no row for, or its
  // structure breaks the row of the version it states; refused as soon as
  // the version is known, with the bytes read so far kept, so version()
  // still names it.
  kUnsupportedVersion,
};

const char* describe(LoadError error);

// Where load() inflates the header on its way into memory.
enum class InflateTarget {
  // A temporary file beside the game, deleted before load returns; memory
  // where the folder refuses it or the file fails midway.
  kFileBesideGame,
  // Memory only: nothing is ever written into the game's folder.
  kMemory,
};

class RecordedGameFile {
 public:
  // A hostile file must not make us inflate without bound.
  static constexpr int64_t kMaxHeaderLength = int64_t{64} * 1024 * 1024;
  static constexpr uint32_t kInflateChunk = 0x20000;
  // Tries for a free temporary name: ".tmp1", ".tmp2", ...
  static constexpr int kTemporaryNameTries = 16;

  RecordedGameFile() = default;
  virtual ~RecordedGameFile() = default;
  RecordedGameFile(const RecordedGameFile&) = delete;
  RecordedGameFile& operator=(const RecordedGameFile&) = delete;

  // True when the header inflated to its end, both buffers are complete and
  // the version table holds the header's version.
  // path is an exact path (platform/exact_path.h). Never throws.
  bool load(std::string path, InflateTarget target = InflateTarget::kFileBesideGame);
  LoadError lastError() const { return lastError_; }

  // The game that wrote the loaded recording; its layout row feeds
  // parseHeader. Not supported where the header's structure broke its row.
  GameVersion version() const;

  // Fills entry from a loaded header and body (all four stages).
  void parseHeader(GameEntry& entry) const;
  // The same, and then the game's length, result and settings (entry.facts).
  void parseGame(GameEntry& entry) const;

  const ByteBuffer& headerBytes() const { return headerBytes_; }
  const ByteBuffer& bodyBytes() const { return bodyBytes_; }
  int32_t headerLength() const { return headerLength_; }
  int32_t bodyLength() const { return bodyLength_; }
  // Where the body starts in the file.
  int64_t bodyOffset() const { return bodyOffset_; }

 private:
  bool fail(LoadError error);
  void parse(GameEntry& entry, bool withFacts) const;

  ByteBuffer headerBytes_;
  ByteBuffer bodyBytes_;
  int32_t bodyLength_ = 0;
  int32_t headerLength_ = 0;
  int64_t bodyOffset_ = 0;
  // The header's version is held, but its structure breaks that version's row.
  bool layoutRefused_ = false;
  LoadError lastError_ = LoadError::kNone;
};

}  // namespace morvane
