// Figures of the folder listing: for folders of 20,000 to 200,000 recordings
// (and a hundredth as many sub-folders), scanFolder against the enumeration
// alone, filling the store, the records its growth moves and the heap the
// listing holds; then sorts by each column against a byte-compare sort. Each
// figure is CPU time next to a baseline measured in the same run. The
// folders are written into a temporary folder and removed afterwards.
//
// Usage: morvane_bench_library [files ...]  (default 20000 50000 200000)
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <new>
#include <numeric>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "library/folder_scan.h"
#include "library/game_entry_array.h"
#include "library/game_rows.h"
#include "library/icon_source.h"
#include "library/list_presentation.h"
#include "library/sorting.h"
#include "platform/folder_listing.h"

// Live and peak heap bytes, counted by replacing the global allocation
// functions.
namespace {
std::atomic<long long> liveBytes{0};
std::atomic<long long> peakBytes{0};
constexpr std::size_t kPrefix = alignof(std::max_align_t);

void* allocateCounted(std::size_t size) {
  void* block = std::malloc(size + kPrefix);
  if (block == nullptr) return nullptr;
  *static_cast<std::size_t*>(block) = size;
  const long long live = liveBytes += static_cast<long long>(size);
  if (live > peakBytes) peakBytes = live;
  return static_cast<char*>(block) + kPrefix;
}
}  // namespace

void* operator new(std::size_t size) {
  void* block = allocateCounted(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return allocateCounted(size);
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

constexpr int kParsed = 5000;

class CountingIcons : public IconSource {
 public:
  void clear() override { count = 0; }
  int addIconFor(const std::string&) override { return count++; }
  int count = 0;
};

// What scanFolder and fillList work on, as the main window holds it.
struct Listing {
  explicit Listing(const platform::CodePage& codePage)
      : rows(store, names, codePage), context{store, rows, icons, filter} {}
  GameEntryArray store;
  NameTable names;
  GameRows rows;
  CountingIcons icons;
  std::string filter;
  const ListingContext context;
};

// Process CPU time in seconds.
double cpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Best of a few runs, in CPU seconds.
template <typename Run>
double best(int runs, Run run) {
  double fastest = 1e9;
  for (int i = 0; i < runs; ++i) {
    const double start = cpuSeconds();
    run();
    fastest = std::min(fastest, cpuSeconds() - start);
  }
  return fastest;
}

// Heap taken by one run of work: the most it held at once above what was
// live before, and what it still holds after.
struct HeapUse {
  long long peak;
  long long kept;
};

template <typename Run>
HeapUse heapUse(Run run) {
  const long long before = liveBytes.load();
  peakBytes = before;
  run();
  return HeapUse{peakBytes.load() - before, liveBytes.load() - before};
}

// files ".mgx" recordings and files / 100 sub-folders in a fresh temporary
// folder, removed with the object.
class BenchFolder {
 public:
  explicit BenchFolder(int files) {
    std::random_device device;
    path_ = fs::temp_directory_path() /
            ("morvane-bench-listing-" + std::to_string(files) + "-" + std::to_string(device()));
    fs::create_directories(path_);
    std::mt19937 random(7);
    for (int i = 0; i < files; ++i) {
      std::ofstream(path_ /
                    ("rec" + std::to_string(random() % 1000000) + "_" + std::to_string(i) + ".mgx"))
          << "x";
    }
    for (int i = 0; i < files / 100; ++i)
      fs::create_directory(path_ / ("folder" + std::to_string(i)));
  }
  ~BenchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  std::string path() const { return path_.string(); }

 private:
  fs::path path_;
};

// Records that growth moved while appending items one by one: after each
// growth, the records no longer at the address they had before it.
double recordsMovedPerRow(const std::vector<platform::FolderItem>& items) {
  GameEntryArray store;
  std::vector<const GameEntry*> addresses;
  long long moved = 0;
  int32_t capacity = 0;
  GameEntry entry;
  for (const platform::FolderItem& item : items) {
    entry.fileName = item.name;
    const int32_t index = store.add(entry);
    if (index < 0) break;
    if (store.capacity() != capacity) {
      capacity = store.capacity();
      for (int32_t i = 0; i < index; ++i) moved += &store.at(i) != addresses[i];
      for (int32_t i = 0; i < index; ++i) addresses[i] = &store.at(i);
    }
    addresses.push_back(&store.at(index));
  }
  return items.empty() ? 0.0 : static_cast<double>(moved) / static_cast<double>(items.size());
}

void benchFolder(int files, const platform::CodePage& codePage) {
  const BenchFolder folder(files);
  Listing listing(codePage);
  GameEntryArray& store = listing.store;
  GameRows& rows = listing.rows;
  const ListingContext& context = listing.context;
  const std::string path = folder.path() + "\\";

  const double enumeration = best(3, [&] { (void)platform::listFolder(path); });
  const double scan = best(3, [&] { scanFolder(folder.path(), context); });
  const std::vector<platform::FolderItem> items = platform::listFolder(path);
  const double storeFill = best(3, [&] {
    store.setSize(0);
    GameEntry entry;
    for (const platform::FolderItem& item : items) {
      entry.fileName = item.name;
      entry.attributes = item.attributes;
      entry.modified = item.lastWrite;
      store.add(entry);
    }
  });
  const double moved = recordsMovedPerRow(items);

  store.setSize(0);
  rows.fill("");
  const HeapUse enumerationHeap = heapUse([&] { (void)platform::listFolder(path); });
  const HeapUse scanHeap = heapUse([&] { scanFolder(folder.path(), context); });
  const double rowCount = rows.count();
  const long long beforeRelease = liveBytes.load();
  store.setSize(0);
  const long long storeBytes = beforeRelease - liveBytes.load();

  std::printf("folder of %d .mgx files and %d folders: %d rows\n", files, files / 100,
              rows.count());
  std::printf("  enumeration alone (baseline)      %9.1f ms\n", enumeration * 1e3);
  std::printf("  scanFolder (scan + fill + sort)   %9.1f ms  (%.1fx the enumeration)\n", scan * 1e3,
              scan / enumeration);
  std::printf("  of which filling the store        %9.1f ms  (%.1fx the enumeration)\n",
              storeFill * 1e3, storeFill / enumeration);
  std::printf("  records moved by growth           %9.1f per row\n", moved);
  std::printf("  heap of the enumeration alone     %9.0f bytes a row at its peak\n",
              static_cast<double>(enumerationHeap.peak) / rowCount);
  std::printf("  heap of scanFolder, kept          %9.0f bytes a row (store and rows)\n",
              static_cast<double>(scanHeap.kept) / rowCount);
  std::printf("  heap of scanFolder, peak          %9.0f bytes a row\n",
              static_cast<double>(scanHeap.peak) / rowCount);
  std::printf("    of which the store and names    %9.0f bytes a row (a record is %zu)\n",
              static_cast<double>(storeBytes) / rowCount, sizeof(GameEntry));
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

void benchSorts(int files, const platform::CodePage& codePage) {
  const BenchFolder folder(files);
  Listing listing(codePage);
  GameEntryArray& store = listing.store;
  GameRows& rows = listing.rows;
  std::string& filter = listing.filter;
  const ListingContext& context = listing.context;
  scanFolder(folder.path(), context);
  const double fill = best(3, [&] { fillList(context); });
  filter = "REC12";
  const double filtered = best(3, [&] { fillList(context); });
  const int filteredRows = rows.count();
  filter.clear();

  parseSome(store, kParsed);
  // Baseline: the same rows ordered by a plain byte comparison of the names.
  std::vector<int32_t> indices;
  const double plainSort = best(3, [&] {
    fillList(context);
    indices.resize(static_cast<std::size_t>(store.getSize()));
    std::iota(indices.begin(), indices.end(), 0);
    std::stable_sort(indices.begin(), indices.end(), [&](int32_t a, int32_t b) {
      return store.at(a).fileName.compare(store.at(b).fileName) < 0;
    });
  });
  std::printf("sorts of %d rows with %d parsed (each includes a %.1f ms fillList)\n", rows.count(),
              kParsed, fill * 1e3);
  std::printf("  fillList with filter \"REC12\"      %7.1f ms  (%d rows)\n", filtered * 1e3,
              filteredRows);
  std::printf("  byte-compare sort by Name (baseline) %7.1f ms\n", plainSort * 1e3);
  static const char* const kTitles[] = {"Name", "POV", "Map", "Modified"};
  for (int column = 0; column < 4; ++column) {
    for (bool ascending : {true, false}) {
      const double sort = best(3, [&] {
        fillList(context);
        rows.sort(column, ascending);
      });
      std::printf("  %-8s %-10s                 %7.1f ms  (%.1fx baseline)\n", kTitles[column],
                  ascending ? "ascending" : "descending", sort * 1e3, sort / plainSort);
    }
  }
}

}  // namespace
}  // namespace morvane

int main(int argc, char** argv) {
  const auto codePage = morvane::platform::makeCodePage(932);
  if (!codePage) {
    std::printf("code page 932 unavailable\n");
    return 1;
  }
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {20000, 50000, 200000};
  std::printf("CPU time, best of 3\n");
  for (const int files : sizes) morvane::benchFolder(files, *codePage);
  morvane::benchSorts(20000, *codePage);
  return 0;
}
