// Figures of the folder listing: scan + fill + sort of a large folder, sorts
// by each column, and the memory of a store of unparsed entries. Each figure
// is printed next to a baseline measured in the same run.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "library/folder_scan.h"
#include "library/game_entry_array.h"
#include "library/icon_source.h"
#include "library/list_presentation.h"
#include "library/row_model.h"
#include "library/sorting.h"
#include "platform/folder_listing.h"

// Live heap bytes, counted by replacing the global allocation functions.
namespace {
std::atomic<long long> liveBytes{0};
constexpr std::size_t kPrefix = alignof(std::max_align_t);
}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size + kPrefix);
  if (block == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  liveBytes += static_cast<long long>(size);
  return static_cast<char*>(block) + kPrefix;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  void* block = std::malloc(size + kPrefix);
  if (block == nullptr) return nullptr;
  *static_cast<std::size_t*>(block) = size;
  liveBytes += static_cast<long long>(size);
  return static_cast<char*>(block) + kPrefix;
}
void operator delete(void* pointer) noexcept {
  if (pointer == nullptr) return;
  char* block = static_cast<char*>(pointer) - kPrefix;
  liveBytes -= static_cast<long long>(*reinterpret_cast<std::size_t*>(block));
  std::free(block);
}
void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { operator delete(pointer); }

namespace morvane {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 20000;
constexpr int kFolders = 200;
constexpr int kParsed = 5000;
constexpr int kStoreEntries = 50000;

class CountingIcons : public IconSource {
 public:
  void clear() override { count = 0; }
  int addIconFor(const std::string&) override { return count++; }
  int count = 0;
};

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Best of a few runs, in seconds.
template <typename Run>
double best(int runs, Run run) {
  double fastest = 1e9;
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    run();
    fastest = std::min(fastest, secondsSince(start));
  }
  return fastest;
}

std::string makeFolder() {
  const fs::path root = fs::temp_directory_path() / "morvane-bench-listing";
  const fs::path done = root / ".complete";
  if (!fs::exists(done)) {
    fs::remove_all(root);
    fs::create_directories(root);
    std::mt19937 random(7);
    for (int i = 0; i < kFiles; ++i) {
      std::ofstream(root /
                    ("rec" + std::to_string(random() % 1000000) + "_" + std::to_string(i) + ".mgx"))
          << "x";
    }
    for (int i = 0; i < kFolders; ++i) fs::create_directory(root / ("folder" + std::to_string(i)));
    std::ofstream(done) << "x";
  }
  return root.string();
}

// Gives a deterministic share of the store the fields a parse would set.
void parseSome(GameEntryArray& store, int parsed) {
  static const char* const kMaps[] = {"Arabia", "Black Forest", "Islands", "Mongolia",
                                      "Oasis",  "Baltic",       "Coastal", "Fortress"};
  std::mt19937 random(11);
  for (int done = 0; done < parsed;) {
    const auto index = static_cast<int32_t>(random() % static_cast<unsigned>(store.getSize()));
    GameEntry entry = store.getAt(index);
    if (entry.isFolder() || entry.isParsed()) continue;
    entry.mapName = kMaps[random() % 8];
    entry.povIndex = 1;
    entry.playerNames[1] = "player" + std::to_string(random() % 300);
    entry.povName = entry.playerNames[1];
    store.setAt(index, entry);
    ++done;
  }
}

void benchListing(const platform::CodePage& codePage) {
  const std::string folder = makeFolder();
  GameEntryArray store;
  RowModel rows;
  CountingIcons icons;
  NameTable names;
  std::string filter;
  const ListingContext context{store, rows, icons, codePage, names, filter};

  const double listOnly = best(3, [&] { (void)platform::listFolder(folder + "\\"); });
  const double scan = best(3, [&] { scanFolder(folder, context); });
  std::printf("folder of %d .mgx files and %d folders (%d rows)\n", kFiles, kFolders,
              rows.getItemCount());
  std::printf("  enumeration alone (baseline)      %8.1f ms\n", listOnly * 1e3);
  std::printf("  scan + fill + sort by Name        %8.1f ms  (%.1fx the enumeration)\n", scan * 1e3,
              scan / listOnly);
  const std::vector<platform::FolderItem> items = platform::listFolder(folder + "\\");
  const double storeFill = best(3, [&] {
    store.setSize(0);
    GameEntry entry;
    for (const platform::FolderItem& item : items) {
      entry.fileName = item.name;
      store.add(entry);
    }
  });
  std::printf("  of which filling the store        %8.1f ms\n", storeFill * 1e3);
  scanFolder(folder, context);
  const double fill = best(3, [&] { fillList(context); });
  const double nameSort = best(3, [&] {
    fillList(context);
    sortRows(rows, store, codePage, kColumnName, true);
  });
  std::printf("  of which fillList                 %8.1f ms\n", fill * 1e3);
  std::printf("  of which fillList + sort by Name  %8.1f ms\n", nameSort * 1e3);
  filter = "REC12";
  const double filtered = best(3, [&] { fillList(context); });
  std::printf("  fillList with filter \"REC12\"      %8.1f ms  (%d rows)\n", filtered * 1e3,
              rows.getItemCount());
  filter.clear();

  parseSome(store, kParsed);
  fillList(context);
  // Baseline: the same rows ordered by a plain byte comparison of the names.
  const double plainSort = best(3, [&] {
    fillList(context);
    rows.sortItems(
        [&](intptr_t a, intptr_t b, intptr_t) {
          return store.at(static_cast<int32_t>(a))
              .fileName.compare(store.at(static_cast<int32_t>(b)).fileName);
        },
        0);
  });
  const double refill = best(3, [&] { fillList(context); });
  std::printf("sorts of %d rows with %d parsed (each includes a %.1f ms fillList)\n",
              rows.getItemCount(), kParsed, refill * 1e3);
  std::printf("  byte-compare sort by Name (baseline) %7.1f ms\n", plainSort * 1e3);
  static const char* const kTitles[] = {"Name", "POV", "Map", "Modified"};
  for (int column = 0; column < 4; ++column) {
    for (bool ascending : {true, false}) {
      const double sort = best(3, [&] {
        fillList(context);
        sortRows(rows, store, codePage, column, ascending);
      });
      std::printf("  %-8s %-10s                 %7.1f ms  (%.1fx baseline)\n", kTitles[column],
                  ascending ? "ascending" : "descending", sort * 1e3, sort / plainSort);
    }
  }
}

void benchMemory() {
  const long long before = liveBytes.load();
  {
    GameEntryArray store;
    GameEntry entry;
    for (int i = 0; i < kStoreEntries; ++i) {
      entry.fileName = "recorded game " + std::to_string(i) + ".mgx";
      store.add(entry);
    }
    const long long used = liveBytes.load() - before;
    std::printf("store of %d unparsed entries\n", kStoreEntries);
    std::printf("  sizeof(GameEntry)                 %8zu bytes\n", sizeof(GameEntry));
    std::printf("  capacity                          %8d records\n", store.capacity());
    std::printf("  block (capacity x record)         %8.1f MB\n",
                static_cast<double>(store.capacity()) * sizeof(GameEntry) / 1e6);
    std::printf("  heap in use, measured             %8.1f MB  (limit 200 MB)\n",
                static_cast<double>(used) / 1e6);
  }
}

}  // namespace
}  // namespace morvane

int main() {
  const auto codePage = morvane::platform::makeCodePage(932);
  if (!codePage) {
    std::printf("code page 932 unavailable\n");
    return 1;
  }
  morvane::benchListing(*codePage);
  morvane::benchMemory();
  return 0;
}
