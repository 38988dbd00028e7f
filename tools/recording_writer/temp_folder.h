// A fresh, empty folder per test, removed with everything in it afterwards.
#pragma once

#include <string>
#include <string_view>

namespace morvane::fixtures {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // False when no folder could be made (the path is then empty).
  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  // The folder joined with name.
  std::string file(std::string_view name) const;
  // Names of everything in the folder, sorted.
  std::string listing() const;

 private:
  std::string path_;
};

}  // namespace morvane::fixtures
