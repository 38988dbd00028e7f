// Figures of the archive index, each next to a baseline measured in the same
// run on the same files and cores:
//  - indexing a tree of recordings from nothing against the inspector's JSON
//    run over the same files (reading and formatting every recording);
//  - an update where nothing changed against the enumeration of the tree;
//  - searches over an index of 100,000 games (written from made-up rows, as
//    reading 100,000 files would only measure the disk).
//
// Usage: morvane_bench_archive [RECORDINGS_FOLDER [COPIES [GAMES]]]
//   (default ../shared/recordings beside the source tree, 20 copies of it,
//    100000 games)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "archive/archive_index.h"
#include "archive/recording_files.h"
#include "archive/search_lines.h"
#include "cpu_time.h"
#include "code_page_decoders.h"
#include "collection_reports.h"
#include "folder_recordings.h"
#include "recording_report.h"

namespace {

namespace fs = std::filesystem;
using namespace morvane;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

unsigned cores() { return std::max(1u, std::thread::hardware_concurrency()); }

// COPIES copies of every recording in source, a folder per copy.
std::size_t makeTree(const std::string& source, int copies, const std::string& tree) {
  std::size_t files = 0;
  for (int c = 0; c < copies; ++c) {
    const fs::path folder = fs::path(tree) / ("copy" + std::to_string(c));
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(source)) {
      if (!archive::isRecordingName(entry.path().filename().string())) continue;
      fs::copy_file(entry.path(), folder / entry.path().filename());
      ++files;
    }
  }
  return files;
}

// The inspector's JSON run, its output thrown away: every recording read and
// formatted on every core.
double jsonRun(const std::string& tree) {
  const auto start = Clock::now();
  const std::vector<std::string> paths = inspect::folderRecordings(tree, '/', true);
  inspect::CollectionRun run;
  run.jobs = cores();
  run.makeWorker = [] {
    auto decoders = std::make_shared<inspect::CodePageDecoders>(std::nullopt, 1252);
    return [decoders](const std::string& path) {
      inspect::ReportSettings settings;
      settings.decoders = decoders.get();
      return inspect::reportRecording(path, settings);
    };
  };
  std::size_t bytes = 0;
  run.emit = [&bytes](const inspect::Report& report) { bytes += report.line.size(); };
  inspect::reportCollection(paths, run);
  if (bytes == 0) std::printf("(the JSON run wrote nothing)\n");
  return secondsSince(start);
}

archive::UpdateRequest requestFor(const std::string& tree) {
  archive::UpdateRequest request;
  request.folders = {tree};
  request.recursive = true;
  request.jobs = cores();
  return request;
}

void indexingFigures(const std::string& source, int copies) {
  const std::string scratch = (fs::temp_directory_path() / "morvane-archive-bench").string();
  fs::remove_all(scratch);
  const std::string tree = scratch + "/tree";
  const std::size_t files = makeTree(source, copies, tree);
  std::printf("tree: %zu recordings (%d copies of %s), %u cores\n", files, copies, source.c_str(),
              cores());
  jsonRun(tree);  // warms the page cache for both
  std::vector<double> json, index, update, walk, jsonCpu, indexCpu;
  for (int round = 0; round < 3; ++round) {
    double cpu = bench::cpuSeconds();
    json.push_back(jsonRun(tree));
    jsonCpu.push_back(bench::cpuSeconds() - cpu);
    const std::string file = scratch + "/index" + std::to_string(round) + ".sqlite";
    archive::Archive archive(file);
    auto start = Clock::now();
    cpu = bench::cpuSeconds();
    const archive::UpdateStats stats = archive.update(requestFor(tree));
    index.push_back(secondsSince(start));
    indexCpu.push_back(bench::cpuSeconds() - cpu);
    if (stats.read != files) std::printf("(indexing read %zu of %zu)\n", stats.read, files);
    start = Clock::now();
    const archive::UpdateStats again = archive.update(requestFor(tree));
    update.push_back(secondsSince(start));
    if (again.read != 0) std::printf("(the second update read %zu)\n", again.read);
    start = Clock::now();
    const auto listed = archive::findRecordings({tree}, true, '/');
    walk.push_back(secondsSince(start));
    if (listed.size() != files) std::printf("(the walk found %zu)\n", listed.size());
  }
  const double j = bench::median(json), i = bench::median(index);
  const double u = bench::median(update), w = bench::median(walk);
  std::printf("index from nothing      %8.1f ms   JSON run   %8.1f ms   ratio %.2f (goal <= 1.2)\n",
              i * 1e3, j * 1e3, i / j);
  std::printf("  the same in CPU time   %8.1f ms              %8.1f ms   ratio %.2f\n",
              bench::median(indexCpu) * 1e3, bench::median(jsonCpu) * 1e3,
              bench::median(indexCpu) / bench::median(jsonCpu));
  std::printf("update, nothing changed %8.2f ms   enumeration %7.2f ms   ratio %.2f (goal <= 2)\n",
              u * 1e3, w * 1e3, u / w);
  fs::remove_all(scratch);
}

// Made-up games: a pool of names in several scripts, 45 civilisations, 30
// maps, five years of dates, results for both sides.
archive::RecordingRow madeUpGame(std::mt19937& random, int n, const std::vector<std::string>& names) {
  static const char* kMaps[] = {"Arabia", "Arena", "Black Forest", "Nomad", "Islands",
                                "Team Islands", "Gold Rush", "Fortress", "Hideout", "Land Nomad",
                                "アラビア", "アリーナ", "阿拉伯", "Ghost Lake", "Baltic",
                                "Coastal", "Continental", "Highland", "Mongolia", "Oasis",
                                "Salt Marsh", "Scandinavia", "Yucatan", "Rivers", "Mediterranean",
                                "Migration", "Acropolis", "Budapest", "Cenotes", "Golden Pit"};
  archive::RecordingRow row;
  row.path = "/games/" + std::to_string(n / 1000) + "/game" + std::to_string(n) + ".aoe2record";
  row.size = 1000000 + n;
  row.modifiedMs = int64_t{1600000000000} + int64_t{n} * 1577 * 1000;
  row.contentHash = "h" + std::to_string(n);
  row.edition = "DE";
  row.loaded = row.supported = true;
  row.gameKey = "m:" + std::to_string(n);
  row.certainty = archive::KeyCertainty::kMap;
  row.mapType = kMaps[random() % 30];
  row.durationMs = 600000 + random() % 3000000;
  row.settled = true;
  const int players = 2 + 2 * static_cast<int>(random() % 4);
  for (int p = 1; p <= players; ++p) {
    archive::PlayerRow player;
    player.position = player.number = p;
    player.name = names[random() % names.size()];
    player.civId = 1 + static_cast<int32_t>(random() % 45);
    player.colourId = p - 1;
    player.team = p % 2 ? "1" : "2";
    player.outcome = (p % 2) == (n % 2) ? archive::PlayerOutcome::kWon : archive::PlayerOutcome::kLost;
    if (player.outcome == archive::PlayerOutcome::kWon) row.winners.push_back(p);
    row.players.push_back(player);
  }
  return row;
}

void searchFigures(int games) {
  const std::string file = (fs::temp_directory_path() / "morvane-archive-search.sqlite").string();
  archive::Archive::removeIndexFiles(file);
  std::mt19937 random(20240509);
  std::vector<std::string> names;
  static const char* kStems[] = {"Alice", "Bob", "Hera", "TheViper", "Liereyy", "猫", "たろう",
                                 "Снежок", "Ωmega", "Dutch", "Robo", "李世民"};
  for (int i = 0; i < 20000; ++i)
    names.push_back(std::string(kStems[i % 12]) + "_" + std::to_string(i));
  archive::Archive archive(file);
  auto start = Clock::now();
  for (int n = 0; n < games;) {
    const archive::Archive::Batch batch(archive);
    for (int end = std::min(games, n + 10000); n < end; ++n) archive.write(madeUpGame(random, n, names));
  }
  const archive::ArchiveCounts counts = archive.counts();
  std::printf("search index: %lld games, %lld players written in %.1f s\n",
              static_cast<long long>(counts.games), static_cast<long long>(counts.players),
              secondsSince(start));

  // As the window and the inspector search: the form, the query, a page of
  // 1000 games, each made a line with its tip, in the window's order.
  struct Case {
    const char* what;
    archive::SearchForm form;
  };
  std::vector<Case> cases(7);
  cases[0].what = "no criteria (newest 1000)";
  cases[1].what = "player 'viper_19'";
  cases[1].form.player = "viper_19";
  cases[2].what = "player 'たろう' (1/12 of names)";
  cases[2].form.player = "たろう";
  cases[3].what = "player 'dutch_1', civ 4";
  cases[3].form.player = "dutch_1";
  cases[3].form.civId = 4;
  cases[4].what = "civ 4 on map 'arabia'";
  cases[4].form.civId = 4;
  cases[4].form.map = "arabia";
  cases[5].what = "player 'alice_2', lost, one year";
  cases[5].form.player = "alice_2";
  cases[5].form.result = archive::SearchForm::Result::kLost;
  cases[5].form.from = "2022-04-15";
  cases[5].form.to = "2023-04-14";
  cases[6].what = "map 'ラビ' (Japanese)";
  cases[6].form.map = "ラビ";
  for (const Case& c : cases) {
    std::vector<double> times, cpu;
    std::size_t found = 0;
    bool more = false;
    for (int round = 0; round < 9; ++round) {
      start = Clock::now();
      const double cpuStart = bench::cpuSeconds();
      archive::SearchPage result = archive::searchGames(archive, c.form, "", 1000);
      archive::sortLines(result.lines, archive::ResultOrder{});
      cpu.push_back(bench::cpuSeconds() - cpuStart);
      times.push_back(secondsSince(start));
      found = result.games.size();
      more = result.more;
    }
    std::printf("search %-34s %7.2f ms (CPU %6.2f ms) %5zu%s games (goal <= 50 ms)\n", c.what,
                bench::median(times) * 1e3, bench::median(cpu) * 1e3, found, more ? "+" : "");
  }
  if (std::getenv("MORVANE_BENCH_KEEP") == nullptr) archive::Archive::removeIndexFiles(file);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string source =
      argc > 1 ? argv[1] : std::string(MORVANE_SOURCE_DIR) + "/../../shared/recordings";
  const int copies = argc > 2 ? std::atoi(argv[2]) : 20;
  const int games = argc > 3 ? std::atoi(argv[3]) : 100000;
  try {
    if (fs::is_directory(source)) {
      indexingFigures(source, copies);
    } else {
      std::printf("no recordings at %s: indexing figures skipped\n", source.c_str());
    }
    searchFigures(games);
  } catch (const archive::ArchiveError& error) {
    std::fprintf(stderr, "archive: %s\n", error.what());
    return 1;
  }
  return 0;
}
