#include "recording/recorded_game_file.h"

#include <zlib.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <new>

#include "platform/file_access.h"
#include "recording/byte_reader.h"
#include "recording/de_header.h"
#include "recording/memory_scratch.h"
#include "recording/temporary_file.h"

namespace morvane {
namespace {

// zlib's window bits for a deflate stream without its zlib wrapper.
constexpr int kRawDeflateWindowBits = -15;
// Where the compressed header starts: after the body offset, and in the
// newer layout after one more field that is skipped.
constexpr int64_t kMglHeaderStart = 4;
constexpr int64_t kMgxHeaderStart = 8;
// A body cannot start before the two fields and one compressed byte.
constexpr uint32_t kSmallestBodyOffset = kMgxHeaderStart + 1;
// The version text and the save version in its longer form.
constexpr uint32_t kVersionFieldsBytes = 16;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::optional<int64_t> fileLength(std::FILE* f) {
  long here = std::ftell(f);
  if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return std::nullopt;
  long end = std::ftell(f);
  if (end < 0 || std::fseek(f, here, SEEK_SET) != 0) return std::nullopt;
  return end;
}

bool readExactly(std::FILE* f, uint8_t* out, std::size_t count) {
  return count == 0 || std::fread(out, 1, count, f) == count;
}

// The older layout has no skipped field; the path alone decides.
bool usesMglLayout(const std::string& path) {
  if (path.size() < 3) return false;
  std::string tail = path.substr(path.size() - 3);
  for (char& ch : tail) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return tail == "mgl";
}

struct InflateResult {
  bool streamEnded = false;
  LoadError error = LoadError::kNone;
  int64_t length = 0;
  std::size_t unusedInput = 0;  // bytes after the stream's end
};

// Whether the version table holds the version the header's first bytes
// state: nothing after them decides it.
bool versionHeld(const uint8_t* first, std::size_t count) {
  return readGameVersion(ByteSpan(first, count), ByteSpan()).supported;
}

// Inflates a raw deflate stream chunk by chunk into the scratch. A header
// whose version the table does not hold is refused at its first chunk,
// which is kept in refused so that the version can still be named.
template <class Scratch>
InflateResult inflateInto(ByteBuffer& compressed, Scratch& out, ByteBuffer& refused) {
  InflateResult result;
  z_stream stream{};
  stream.next_in = compressed.data();
  stream.avail_in = static_cast<uInt>(compressed.size());
  if (inflateInit2(&stream, kRawDeflateWindowBits) != Z_OK) {
    result.error = LoadError::kInflateInit;
    return result;
  }
  // Ended on every way out, a memory shortage thrown below included.
  struct StreamEnd {
    z_stream& stream;
    ~StreamEnd() { inflateEnd(&stream); }
  } end{stream};
  ByteBuffer chunk(RecordedGameFile::kInflateChunk);
  for (;;) {
    stream.next_out = chunk.data();
    stream.avail_out = RecordedGameFile::kInflateChunk;
    int rc = inflate(&stream, Z_SYNC_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) {
      result.error = rc == Z_BUF_ERROR ? LoadError::kTruncatedHeader : LoadError::kCorruptHeader;
      break;
    }
    const uint32_t produced = RecordedGameFile::kInflateChunk - stream.avail_out;
    if (result.length == 0 && produced >= kVersionFieldsBytes &&
        !versionHeld(chunk.data(), produced)) {
      refused.assign(chunk.data(), chunk.data() + produced);
      result.length = produced;
      result.error = LoadError::kUnsupportedVersion;
      break;
    }
    if (result.length + produced > RecordedGameFile::kMaxHeaderLength) {
      result.error = LoadError::kHeaderTooLarge;
      break;
    }
    if (!out.append(chunk.data(), produced)) {
      result.error = LoadError::kWriteFailed;
      break;
    }
    result.length += produced;
    if (rc == Z_STREAM_END) {
      result.streamEnded = true;
      result.unusedInput = stream.avail_in;
      break;
    }
    if (stream.avail_out != 0) {  // input used up before the stream's end
      result.error = LoadError::kTruncatedHeader;
      break;
    }
  }
  return result;
}

// Inflates the header through scratch into header; nullopt when a scratch
// write failed, so that another scratch may try. Once the stream has ended,
// the compressed bytes are let go before the header is read back (the two
// are never held together), or where the body follows the stream, kept as
// the body in the same bytes.
template <class Scratch>
std::optional<InflateResult> inflateThrough(ByteBuffer& compressed, Scratch& scratch,
                                            ByteBuffer& header, bool bodyAfterStream) {
  InflateResult inflated = inflateInto(compressed, scratch, header);
  if (inflated.error == LoadError::kWriteFailed) return std::nullopt;
  if (!inflated.streamEnded) return inflated;
  if (bodyAfterStream) {
    compressed.keepTail(inflated.unusedInput);
  } else {
    compressed = {};
  }
  if (!scratch.readBack(header, static_cast<std::size_t>(inflated.length))) {
    inflated.streamEnded = false;
    inflated.error = LoadError::kReadFailed;
  }
  return inflated;
}

// A folder that refuses the temporary file (read-only, every name taken, a
// name too long, a full disk) still has its games read: in memory.
InflateResult inflateHeader(ByteBuffer& compressed, const std::string& path, InflateTarget target,
                            ByteBuffer& header, bool bodyAfterStream) {
  if (target == InflateTarget::kFileBesideGame) {
    if (auto file = TemporaryFile::createBeside(path, RecordedGameFile::kTemporaryNameTries)) {
      if (auto inflated = inflateThrough(compressed, *file, header, bodyAfterStream)) {
        return *inflated;
      }
    }
  }
  MemoryScratch memory(static_cast<std::size_t>(RecordedGameFile::kMaxHeaderLength));
  return inflateThrough(compressed, memory, header, bodyAfterStream)
      .value_or(InflateResult{false, LoadError::kReadFailed});
}

}  // namespace

const char* describe(LoadError error) {
  switch (error) {
    case LoadError::kNone:
      return "";
    case LoadError::kCannotOpen:
      return "cannot open";
    case LoadError::kTooShort:
      return "file too short";
    case LoadError::kBodyOffsetOutOfRange:
      return "body offset out of range";
    case LoadError::kReadFailed:
      return "read failed";
    case LoadError::kTemporaryFile:
      return "cannot create temporary file";
    case LoadError::kHeaderTooLarge:
      return "header too large";
    case LoadError::kInflateInit:
      return "inflate initialisation failed";
    case LoadError::kCorruptHeader:
      return "corrupt header";
    case LoadError::kTruncatedHeader:
      return "truncated header";
    case LoadError::kWriteFailed:
      return "temporary file write failed";
    case LoadError::kOutOfMemory:
      return "out of memory";
    case LoadError::kUnsupportedVersion:
      return "version not supported";
  }
  return "unknown";
}

bool RecordedGameFile::fail(LoadError error) {
  lastError_ = error;
  return false;
}

bool RecordedGameFile::load(std::string path, InflateTarget target) {
  headerBytes_ = {};
  bodyBytes_ = {};
  headerLength_ = 0;
  bodyLength_ = 0;
  bodyOffset_ = 0;
  layoutRefused_ = false;
  lastError_ = LoadError::kNone;
  try {
    File game(platform::openFile(path, "rb"));
    if (!game) return fail(LoadError::kCannotOpen);

    uint8_t field[4];
    if (!readExactly(game.get(), field, 4)) return fail(LoadError::kTooShort);
    const uint32_t bodyOffset = ByteSpan(field, sizeof field).u32(0).value_or(0);
    const auto length = fileLength(game.get());
    if (!length) return fail(LoadError::kReadFailed);
    // Some tools leave the offset 0: the body then starts where the stream ends.
    const bool bodyAfterStream = bodyOffset == 0;
    if (*length < bodyOffset || (bodyOffset < kSmallestBodyOffset && !bodyAfterStream)) {
      return fail(LoadError::kBodyOffsetOutOfRange);
    }
    const int64_t headerStart = usesMglLayout(path) ? kMglHeaderStart : kMgxHeaderStart;
    if (*length < headerStart) return fail(LoadError::kTooShort);
    const int64_t headerEnd = bodyAfterStream ? *length : int64_t{bodyOffset};
    if (*length - headerEnd > std::numeric_limits<int32_t>::max()) {
      return fail(LoadError::kBodyOffsetOutOfRange);
    }
    bodyLength_ = static_cast<int32_t>(*length - headerEnd);
    if (std::fseek(game.get(), static_cast<long>(headerStart), SEEK_SET) != 0) {
      return fail(LoadError::kReadFailed);
    }
    ByteBuffer compressed(static_cast<std::size_t>(headerEnd - headerStart));
    if (!readExactly(game.get(), compressed.data(), compressed.size())) {
      return fail(LoadError::kReadFailed);
    }

    const InflateResult inflated =
        inflateHeader(compressed, path, target, headerBytes_, bodyAfterStream);
    if (inflated.error == LoadError::kUnsupportedVersion) {
      headerLength_ = static_cast<int32_t>(headerBytes_.size());
      return fail(inflated.error);
    }
    if (!inflated.streamEnded) return fail(inflated.error);
    if (bodyAfterStream) bodyBytes_ = std::move(compressed);  // the bytes after the stream
    compressed = {};

    headerLength_ = static_cast<int32_t>(inflated.length);
    if (!bodyAfterStream) {
      bodyBytes_.resizeForOverwrite(static_cast<std::size_t>(bodyLength_));
      if (!readExactly(game.get(), bodyBytes_.data(), bodyBytes_.size())) {
        return fail(LoadError::kReadFailed);
      }
    }
    bodyLength_ = static_cast<int32_t>(bodyBytes_.size());
    bodyOffset_ = *length - bodyLength_;
    // Read with a row confirmed for another version, a header gives garbage
    // that looks like a game.
    const GameVersion read = version();
    if (!read.supported) return fail(LoadError::kUnsupportedVersion);
    // An AI section that breaks its structure is a layout the table does not
    // hold, whatever the version says.
    if (read.family == VersionFamily::kDE &&
        !aiSectionHolds(ByteSpan(headerBytes_.data(), headerBytes_.size()),
                        layoutFor(read).definitive)) {
      layoutRefused_ = true;
      return fail(LoadError::kUnsupportedVersion);
    }
    return true;
  } catch (const std::bad_alloc&) {
    return fail(LoadError::kOutOfMemory);
  }
}

}  // namespace morvane
