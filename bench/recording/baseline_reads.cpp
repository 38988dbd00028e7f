#include "baseline_reads.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>

namespace morvane::bench {
namespace {

constexpr uInt kChunk = 0x20000;

// Grows only: a buffer that is big enough is neither moved nor zero-filled.
uint8_t* roomFor(std::vector<uint8_t>& buffer, std::size_t bytes) {
  if (buffer.size() < bytes) buffer.resize(bytes);
  return buffer.data();
}

bool isMgl(const std::string& path) {
  if (path.size() < 3) return false;
  std::string tail = path.substr(path.size() - 3);
  for (char& c : tail) c = static_cast<char>(c | 0x20);
  return tail == "mgl";
}

bool readAll(int fd, uint8_t* out, std::size_t count) {
  while (count > 0) {
    const ssize_t got = ::read(fd, out, count);
    if (got <= 0) return false;
    out += got;
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

bool writeAll(int fd, const uint8_t* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t put = ::write(fd, bytes, count);
    if (put <= 0) return false;
    bytes += put;
    count -= static_cast<std::size_t>(put);
  }
  return true;
}

}  // namespace

bool BaselineReads::readWhole(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  struct stat info;
  bool read = ::fstat(fd, &info) == 0;
  if (read) {
    fileLength_ = static_cast<std::size_t>(info.st_size);
    read = readAll(fd, roomFor(file_, fileLength_), fileLength_);
  }
  ::close(fd);
  return read;
}

template <typename Sink>
int64_t BaselineReads::inflateHeader(const std::string& path, Sink sink) {
  if (!readWhole(path) || fileLength_ < 8) return -1;
  const uint32_t bodyOffset =
      file_[0] | (file_[1] << 8) | (file_[2] << 16) | (static_cast<uint32_t>(file_[3]) << 24);
  const uint32_t start = isMgl(path) ? 4 : 8;
  // An offset of 0 (left by some tools) puts the body where the stream ends.
  const std::size_t end = bodyOffset == 0 ? fileLength_ : bodyOffset;
  if ((bodyOffset < 9 && bodyOffset != 0) || end > fileLength_ || end < start) return -1;
  z_stream stream{};
  if (inflateInit2(&stream, -15) != Z_OK) return -1;
  stream.next_in = file_.data() + start;
  stream.avail_in = static_cast<uInt>(end - start);
  int64_t length = 0;
  int result = Z_OK;
  while (result == Z_OK) {
    uint8_t* out = sink.room(length, kChunk);
    stream.next_out = out;
    stream.avail_out = kChunk;
    result = inflate(&stream, Z_SYNC_FLUSH);
    const uInt produced = kChunk - stream.avail_out;
    if ((result == Z_OK || result == Z_STREAM_END) && !sink.take(out, produced)) result = Z_ERRNO;
    length += produced;
    if (result == Z_OK && stream.avail_out != 0) result = Z_BUF_ERROR;
  }
  inflateEnd(&stream);
  return result == Z_STREAM_END ? length : -1;
}

int64_t BaselineReads::readAndInflate(const std::string& path) {
  // Straight into the header buffer.
  struct IntoHeader {
    std::vector<uint8_t>& header;
    uint8_t* room(int64_t at, uInt bytes) {
      return roomFor(header, static_cast<std::size_t>(at) + bytes) + at;
    }
    bool take(const uint8_t*, uInt) { return true; }
  };
  return inflateHeader(path, IntoHeader{header_});
}

int64_t BaselineReads::readInflateThroughTemporaryFile(const std::string& path) {
  // Through one chunk into the file, as the reader does.
  struct IntoFile {
    std::vector<uint8_t>& chunk;
    int fd;
    uint8_t* room(int64_t, uInt bytes) { return roomFor(chunk, bytes); }
    bool take(const uint8_t* bytes, uInt count) { return writeAll(fd, bytes, count); }
  };
  const std::string temporary = path + ".tmp1";
  const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return -1;
  int64_t length = inflateHeader(path, IntoFile{chunk_, fd});
  if (length >= 0) {
    const auto count = static_cast<std::size_t>(length);
    if (::lseek(fd, 0, SEEK_SET) != 0 || !readAll(fd, roomFor(header_, count), count)) length = -1;
  }
  ::close(fd);
  std::remove(temporary.c_str());
  return length;
}

}  // namespace morvane::bench
