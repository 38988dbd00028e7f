// The least work a reader of a recording can do, as baselines for the real
// one: (a) the file read and its header raw-inflated, (b) the same with the
// inflated header passed through a temporary file beside the game, as the
// reader does. Their buffers grow when needed and are otherwise reused, so
// after the first call neither allocates nor zero-fills.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace morvane::bench {

class BaselineReads {
 public:
  // (a). Answers the inflated header's length, or -1 when the file is not a
  // recording whose header inflates to its end.
  int64_t readAndInflate(const std::string& path);
  // (b): (a) with each inflated chunk appended to "<path>.tmp1", which is
  // then read back in one piece and deleted.
  int64_t readInflateThroughTemporaryFile(const std::string& path);

 private:
  bool readWhole(const std::string& path);
  // Inflates the compressed header of file_; each chunk goes to sink.
  template <typename Sink>
  int64_t inflateHeader(const std::string& path, Sink sink);

  std::vector<uint8_t> file_;
  std::size_t fileLength_ = 0;
  std::vector<uint8_t> header_;
  std::vector<uint8_t> chunk_;
};

}  // namespace morvane::bench
