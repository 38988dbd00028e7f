// morvane-inspect: the recorded-game reader on the command line, one JSON
// object per recording, read on every core and printed in the order given;
// with --minimap, a picture of each map as well.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "code_page_decoders.h"
#include "collection_reports.h"
#include "folder_recordings.h"
#include "index_run.h"
#include "inspect_options.h"
#include "minimap_files.h"
#include "platform/exact_path.h"
#include "platform/path.h"
#include "progress_line.h"
#include "recording_report.h"
#include "search_run.h"

namespace {

using namespace morvane::inspect;
using morvane::platform::codePageKnown;
using morvane::platform::defaultCodePage;

enum class PathKind { kMissing, kFile, kFolder };

PathKind kindOf(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return PathKind::kMissing;
  return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kFile;
}

// The recordings the paths name, folders expanded; nothing for a missing path.
std::optional<std::vector<std::string>> recordingsOf(const std::vector<std::string>& paths,
                                                     bool recursive) {
  std::vector<std::string> recordings;
  for (const std::string& path : paths) {
    const PathKind kind = kindOf(path);
    if (kind == PathKind::kMissing) {
      std::fprintf(stderr, "morvane-inspect: no such file or folder: %s\n", path.c_str());
      return std::nullopt;
    }
    // Given on the command line, the path is in the code page; what is read
    // and reported is the name the file system holds.
    const std::string exact = morvane::platform::exactFromAnsi(path);
    if (kind == PathKind::kFile) {
      recordings.push_back(exact);
    } else {
      for (std::string& file : folderRecordings(exact, morvane::platform::kNativeSeparator, recursive))
        recordings.push_back(file);
    }
  }
  return recordings;
}

unsigned allCores() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? cores : 1;
}

// Each reading thread gets its own decoder; the name table is only read.
std::function<ReportFunction()> workerMaker(const InspectOptions& options, int codePage,
                                            const morvane::NameTable* playerNames) {
  return [&options, codePage, playerNames]() -> ReportFunction {
    std::shared_ptr<CodePageDecoders> decoders;
    if (!options.raw) decoders = std::make_shared<CodePageDecoders>(options.codePage, codePage);
    std::optional<int32_t> minimapSize;
    if (options.minimapFolder) minimapSize = options.minimapSize;
    return [decoders, raw = options.raw, result = options.result, playerNames,
            minimapSize](const std::string& path) {
      return reportRecording(path,
                             ReportSettings{raw, decoders.get(), playerNames, result, minimapSize});
    };
  };
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const std::optional<InspectOptions> options =
      parseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "morvane-inspect: %s\n%s\n", error.c_str(), kUsage);
    return 2;
  }
  if (options->search) return runSearch(*options);
  if (options->indexFile) return runIndex(*options, options->jobs.value_or(allCores()));
  const int codePage = options->codePage.value_or(defaultCodePage());
  if (!options->raw && !codePageKnown(codePage)) {
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
  const std::optional<std::vector<std::string>> recordings = recordingsOf(options->paths, options->recursive);
  if (!recordings) return 2;
  if (options->minimapFolder && !makeFolder(*options->minimapFolder)) {
    std::fprintf(stderr, "morvane-inspect: cannot make the folder %s\n",
                 options->minimapFolder->c_str());
    return 2;
  }

  // Progress only for a person watching: a pipe or file gets nothing extra.
  std::optional<ProgressLine> progress;
  if (isatty(fileno(stderr))) progress.emplace(stderr, recordings->size());
  bool allLoaded = true;
  CollectionRun run;
  run.jobs = options->jobs.value_or(allCores());
  run.makeWorker = workerMaker(*options, codePage, options->playersFile ? &playerNames : nullptr);
  // Pictures are written here, in path order, so of two recordings with the
  // same name the later one's stays.
  const std::string pictureFolder =
      options->minimapFolder ? morvane::platform::exactFromAnsi(*options->minimapFolder) : "";
  run.emit = [&allLoaded, &options, &recordings, &pictureFolder,
              emitted = std::size_t{0}](const Report& report) mutable {
    allLoaded = allLoaded && report.loaded;
    std::fwrite(report.line.data(), 1, report.line.size(), stdout);
    std::fputc('\n', stdout);
    const std::string& recording = (*recordings)[emitted++];
    if (!options->minimapFolder || !report.loaded) return;
    const std::string picture =
        minimapPath(pictureFolder, recording, morvane::platform::kNativeSeparator);
    if (report.minimapPng.empty() || !writeBytes(picture, report.minimapPng)) {
      std::fprintf(stderr, "morvane-inspect: cannot write %s\n", picture.c_str());
      allLoaded = false;
    }
  };
  if (progress) run.progress = [&progress](std::size_t done) { progress->update(done); };
  reportCollection(*recordings, run);
  if (progress) progress->clear();
  return allLoaded ? 0 : 1;
}
