#include "index_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <optional>

#include "archive/archive_index.h"
#include "json_line.h"
#include "platform/exact_path.h"
#include "platform/path.h"
#include "platform/text_decoder.h"
#include "progress_line.h"

namespace morvane::inspect {
namespace {

using archive::Archive;
using archive::ArchiveError;
using archive::ArchiveProblem;

std::optional<Archive> openIndex(const std::string& path, bool rebuild, int& status) {
  try {
    return std::optional<Archive>(std::in_place, path);
  } catch (const ArchiveError& error) {
    if (error.problem() != ArchiveProblem::kDamaged || !rebuild) {
      std::fprintf(stderr, "morvane-inspect: index %s\n", error.what());
      if (error.problem() == ArchiveProblem::kDamaged)
        std::fprintf(stderr, "morvane-inspect: --rebuild makes it anew from the recordings\n");
      status = 3;
      return std::nullopt;
    }
    std::fprintf(stderr, "morvane-inspect: index %s; rebuilding it\n", error.what());
  }
  if (!Archive::removeIndexFiles(path)) {
    std::fprintf(stderr, "morvane-inspect: cannot remove the index %s\n", path.c_str());
    status = 3;
    return std::nullopt;
  }
  try {
    return std::optional<Archive>(std::in_place, path);
  } catch (const ArchiveError& error) {
    std::fprintf(stderr, "morvane-inspect: index %s\n", error.what());
    status = 3;
    return std::nullopt;
  }
}

}  // namespace

int runIndex(const InspectOptions& options, unsigned jobs) {
  archive::UpdateRequest request;
  request.recursive = options.recursive;
  request.separator = platform::kNativeSeparator;
  request.jobs = jobs;
  request.fallbackCodePage = options.codePage.value_or(platform::defaultCodePage());
  for (const std::string& path : options.paths) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
      std::fprintf(stderr, "morvane-inspect: no such file or folder: %s\n", path.c_str());
      return 2;
    }
    std::string exact = platform::exactFromAnsi(path);
    if (S_ISDIR(info.st_mode)) {
      while (exact.size() > 1 && exact.back() == platform::kNativeSeparator) exact.pop_back();
      request.folders.push_back(exact);
    } else {
      request.files.push_back(exact);
    }
  }
  int status = 0;
  std::optional<Archive> index =
      openIndex(platform::exactFromAnsi(*options.indexFile), options.rebuild, status);
  if (!index) return status;

  std::optional<ProgressLine> progress;
  archive::UpdateControl control;
  if (isatty(fileno(stderr))) {
    control.progress = [&progress](const archive::UpdateProgress& done) {
      if (!progress) progress.emplace(stderr, done.total);
      progress->update(done.done);
    };
  }
  try {
    const archive::UpdateStats stats = index->update(request, control);
    if (progress) progress->clear();
    const archive::ArchiveCounts counts = index->counts();
    JsonLine line;
    line.string("index", index->path());
    line.number("found", static_cast<int64_t>(stats.found));
    line.number("read", static_cast<int64_t>(stats.read));
    line.number("unchanged", static_cast<int64_t>(stats.unchanged));
    line.number("removed", static_cast<int64_t>(stats.removed));
    line.number("notLoaded", static_cast<int64_t>(stats.notLoaded));
    line.number("recordings", counts.recordings);
    line.number("games", counts.games);
    line.number("players", counts.players);
    line.number("copies", counts.copies);
    std::printf("%s\n", line.str().c_str());
    return stats.notLoaded > 0 ? 1 : 0;
  } catch (const ArchiveError& error) {
    if (progress) progress->clear();
    std::fprintf(stderr, "morvane-inspect: index %s\n", error.what());
    return 3;
  }
}

}  // namespace morvane::inspect
