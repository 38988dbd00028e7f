#include "recording_writer/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

#include "platform/path.h"

namespace morvane::fixtures {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return;
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = base / ("morvane-test-" + std::to_string(random()));
    if (fs::create_directory(candidate, ec) && !ec) {
      path_ = candidate.string();
      return;
    }
  }
}

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  std::error_code ec;
  // A test may have made the folder read-only; give write access back first.
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string TempFolder::file(std::string_view name) const {
  // Joined as bytes: fs::path would pass the name through a code page, and
  // the name is exact (platform/exact_path.h).
  return platform::joinPath(path_, std::string(name), platform::kNativeSeparator);
}

std::string TempFolder::listing() const {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) {
    if (!joined.empty()) joined += ' ';
    joined += name;
  }
  return joined;
}

}  // namespace morvane::fixtures
