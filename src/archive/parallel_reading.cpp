#include "archive/parallel_reading.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace morvane::archive {
namespace {

bool stopped(const ParallelReading& how) {
  return how.stop && how.stop();
}

class Shared {
 public:
  Shared(const std::vector<FoundFile>& files, const ParallelReading& how)
      : files_(files), how_(how), rows_(files.size()) {}

  void read() {
    Decoders decoders(how_.fallbackCodePage);
    for (std::size_t i = next_++; i < files_.size() && !stopped(how_) && !quit_; i = next_++) {
      const FoundFile& file = files_[i];
      RecordingRow row = readRecordingRow(file.path, file.size, file.modifiedMs, decoders);
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        rows_[i] = std::move(row);
      }
      ready_.notify_one();
    }
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      ++finishedThreads_;
    }
    ready_.notify_one();
  }

  // Returns when every row is written, or when reading stopped early.
  void writeInOrder(std::size_t threads, const std::function<void(RecordingRow&&)>& write) {
    try {
      for (std::size_t i = 0; i < files_.size(); ++i) {
        std::optional<RecordingRow> row;
        {
          std::unique_lock<std::mutex> lock(mutex_);
          ready_.wait(lock, [&] { return rows_[i].has_value() || finishedThreads_ == threads; });
          if (!rows_[i]) return;  // stopped before this file was read
          row = std::move(rows_[i]);
          rows_[i].reset();
        }
        if (stopped(how_)) return;
        write(std::move(*row));
      }
    } catch (...) {
      quit_ = true;
      throw;
    }
  }

  void quit() { quit_ = true; }

 private:
  const std::vector<FoundFile>& files_;
  const ParallelReading& how_;
  std::atomic<std::size_t> next_{0};
  std::atomic<bool> quit_{false};
  std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<std::optional<RecordingRow>> rows_;
  std::size_t finishedThreads_ = 0;
};

}  // namespace

void readInParallel(const std::vector<FoundFile>& files, const ParallelReading& how,
                    const std::function<void(RecordingRow&&)>& write) {
  const std::size_t threads = std::min<std::size_t>(std::max(how.jobs, 1u), files.size());
  if (threads <= 1) {
    Decoders decoders(how.fallbackCodePage);
    for (const FoundFile& file : files) {
      if (stopped(how)) return;
      write(readRecordingRow(file.path, file.size, file.modifiedMs, decoders));
    }
    return;
  }
  Shared shared(files, how);
  std::vector<std::thread> readers;
  for (std::size_t t = 0; t < threads; ++t) readers.emplace_back([&shared] { shared.read(); });
  struct Joiner {
    Shared& shared;
    std::vector<std::thread>& readers;
    ~Joiner() {
      shared.quit();
      for (std::thread& reader : readers) reader.join();
    }
  } joiner{shared, readers};
  shared.writeInOrder(threads, write);
}

}  // namespace morvane::archive
