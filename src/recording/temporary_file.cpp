#include "recording/temporary_file.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "platform/file_access.h"

namespace morvane {

std::optional<TemporaryFile> TemporaryFile::createBeside(const std::string& base, int maxTries) {
  for (int n = 1; n <= maxTries; ++n) {
    std::string path = base + ".tmp" + std::to_string(n);
    int fd = platform::createExclusive(path);
    if (fd >= 0) return TemporaryFile(fd, std::move(path));
    if (errno != EEXIST) return std::nullopt;  // read-only folder, no such folder, ...
  }
  return std::nullopt;
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : descriptor_(other.descriptor_), path_(std::move(other.path_)) {
  other.descriptor_ = -1;
}

TemporaryFile::~TemporaryFile() {
  if (descriptor_ < 0) return;
  ::close(descriptor_);
  platform::removeFile(path_);
}

bool TemporaryFile::append(const uint8_t* bytes, std::size_t count) {
  while (count > 0) {
    auto written = ::write(descriptor_, bytes, static_cast<unsigned>(count));
    if (written <= 0) return false;
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

bool TemporaryFile::readBack(ByteBuffer& out, std::size_t count) {
  out.resizeForOverwrite(count);
  if (::lseek(descriptor_, 0, SEEK_SET) != 0) return false;
  std::size_t done = 0;
  while (done < count) {
    auto got = ::read(descriptor_, out.data() + done, static_cast<unsigned>(count - done));
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace morvane
