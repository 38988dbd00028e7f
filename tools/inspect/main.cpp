// morvane-inspect: the recorded-game reader on the command line, one JSON
// object per recording.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "folder_recordings.h"
#include "inspect_options.h"
#include "recording_report.h"

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

enum class PathKind { kMissing, kFile, kFolder };

PathKind kindOf(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return PathKind::kMissing;
  return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kFile;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace morvane::inspect;
  std::string error;
  const std::optional<InspectOptions> options =
      parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "morvane-inspect: %s\n%s\n", error.c_str(), kUsage);
    return 2;
  }
  const int codePage = options->codePage.value_or(defaultCodePage());
  const std::unique_ptr<TextDecoder> decoder = makeTextDecoder(codePage);
  if (!options->raw && decoder == nullptr) {
    std::fprintf(stderr, "morvane-inspect: code page %d is not available\n", codePage);
    return 2;
  }
  morvane::NameTable playerNames;
  if (options->playersFile) {
    if (kindOf(*options->playersFile) != PathKind::kFile) {
      std::fprintf(stderr, "morvane-inspect: no such file: %s\n", options->playersFile->c_str());
      return 2;
    }
    morvane::loadNameTable(*options->playersFile, playerNames);
  }
  std::vector<std::string> recordings;
  for (const std::string& path : options->paths) {
    const PathKind kind = kindOf(path);
    if (kind == PathKind::kMissing) {
      std::fprintf(stderr, "morvane-inspect: no such file or folder: %s\n", path.c_str());
      return 2;
    }
    if (kind == PathKind::kFile) {
      recordings.push_back(path);
    } else {
      for (std::string& file : folderRecordings(path, kSeparator)) recordings.push_back(file);
    }
  }
  const ReportSettings settings{options->raw, decoder.get(),
                                options->playersFile ? &playerNames : nullptr};
  bool allLoaded = true;
  for (const std::string& path : recordings) {
    const Report report = reportRecording(path, settings);
    allLoaded = allLoaded && report.loaded;
    std::fwrite(report.line.data(), 1, report.line.size(), stdout);
    std::fputc('\n', stdout);
  }
  return allLoaded ? 0 : 1;
}
