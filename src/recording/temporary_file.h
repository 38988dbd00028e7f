// The scratch file that an inflated header passes through, beside the game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "recording/byte_buffer.h"

namespace morvane {

class TemporaryFile {
 public:
  // Creates "<base>.tmp1", or the next free ".tmpN" up to maxTries, always
  // exclusively, so a file that existed before is never touched. base is an
  // exact path (platform/exact_path.h).
  static std::optional<TemporaryFile> createBeside(const std::string& base, int maxTries);

  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  // Closes and deletes the file: it never outlives the load that made it.
  ~TemporaryFile();

  bool append(const uint8_t* bytes, std::size_t count);
  // Reads the file's first count bytes into out.
  bool readBack(ByteBuffer& out, std::size_t count);
  const std::string& path() const { return path_; }

 private:
  TemporaryFile(int descriptor, std::string path)
      : descriptor_(descriptor), path_(std::move(path)) {}
  int descriptor_ = -1;
  std::string path_;
};

}  // namespace morvane
