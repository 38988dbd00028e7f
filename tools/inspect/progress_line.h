// A one-line count of recordings read, redrawn in place on a terminal.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace morvane::inspect {

// "done/total files, N files/s, T left"; rate and time left once a file is done.
std::string progressText(std::size_t done, std::size_t total, double seconds);

class ProgressLine {
 public:
  ProgressLine(std::FILE* out, std::size_t total);
  // Redraws at most a few times a second, and at the last file.
  void update(std::size_t done);
  // Blanks the line so that nothing of it stays on the terminal.
  void clear();

 private:
  using Clock = std::chrono::steady_clock;
  std::FILE* out_;
  std::size_t total_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point drawn_{};
  std::size_t width_ = 0;
};

}  // namespace morvane::inspect
