#include "collection_reports.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "file_identity.h"

namespace morvane::inspect {
namespace {

// What the reading threads and the emitting thread share.
class Collection {
 public:
  explicit Collection(const std::vector<std::string>& paths)
      : paths_(paths), reports_(paths.size()) {}

  void readUntilDone(const ReportFunction& report) {
    for (std::size_t i = next_++; i < paths_.size(); i = next_++) {
      const std::string identity = fileIdentity(paths_[i]);
      claim(identity);
      Report done = report(paths_[i]);
      finish(identity, i, std::move(done));
    }
  }

  void emitInOrder(const CollectionRun& run) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (std::size_t emitted = 0; emitted < paths_.size();) {
      reportReady_.wait_for(lock, std::chrono::milliseconds(250),
                            [&] { return reports_[emitted].has_value(); });
      while (emitted < paths_.size() && reports_[emitted]) {
        const Report report = std::move(*reports_[emitted]);
        reports_[emitted].reset();
        ++emitted;
        lock.unlock();
        run.emit(report);
        lock.lock();
      }
      if (run.progress) {
        const std::size_t finished = finished_;
        lock.unlock();
        run.progress(finished);
        lock.lock();
      }
    }
  }

 private:
  // Waits until no other thread reads the same file, then marks it read.
  void claim(const std::string& identity) {
    std::unique_lock<std::mutex> lock(mutex_);
    fileFree_.wait(lock, [&] { return reading_.count(identity) == 0; });
    reading_.insert(identity);
  }

  void finish(const std::string& identity, std::size_t index, Report report) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      reading_.erase(identity);
      reports_[index] = std::move(report);
      ++finished_;
    }
    fileFree_.notify_all();
    reportReady_.notify_one();
  }

  const std::vector<std::string>& paths_;
  std::atomic<std::size_t> next_{0};
  std::mutex mutex_;
  std::condition_variable fileFree_;
  std::condition_variable reportReady_;
  std::set<std::string> reading_;
  std::vector<std::optional<Report>> reports_;
  std::size_t finished_ = 0;
};

// One thread: no other thread to start, wait for or share with.
void reportOneByOne(const std::vector<std::string>& paths, const CollectionRun& run) {
  const ReportFunction report = run.makeWorker();
  for (std::size_t i = 0; i < paths.size(); ++i) {
    run.emit(report(paths[i]));
    if (run.progress) run.progress(i + 1);
  }
}

}  // namespace

void reportCollection(const std::vector<std::string>& paths, const CollectionRun& run) {
  const std::size_t threads = std::min<std::size_t>(run.jobs, paths.size());
  if (threads <= 1) return reportOneByOne(paths, run);
  Collection collection(paths);
  std::vector<std::thread> readers;
  for (std::size_t t = 0; t < threads; ++t) {
    readers.emplace_back([&] { collection.readUntilDone(run.makeWorker()); });
  }
  collection.emitInOrder(run);
  for (std::thread& reader : readers) reader.join();
}

}  // namespace morvane::inspect
