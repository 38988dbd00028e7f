#include "progress_line.h"

#include <cmath>

namespace morvane::inspect {
namespace {

std::string duration(double seconds) {
  const auto whole = static_cast<long long>(std::ceil(seconds));
  if (whole < 60) return std::to_string(whole) + " s";
  const long long rest = whole % 60;
  return std::to_string(whole / 60) + " min " + (rest < 10 ? "0" : "") + std::to_string(rest) +
         " s";
}

}  // namespace

std::string progressText(std::size_t done, std::size_t total, double seconds) {
  std::string text = std::to_string(done) + "/" + std::to_string(total) + " files";
  if (done == 0 || seconds <= 0) return text;
  const double rate = static_cast<double>(done) / seconds;
  char figure[32];
  std::snprintf(figure, sizeof figure, "%.1f", rate);
  text += std::string(", ") + figure + " files/s, " +
          duration(static_cast<double>(total - done) / rate) + " left";
  return text;
}

ProgressLine::ProgressLine(std::FILE* out, std::size_t total) : out_(out), total_(total) {}

void ProgressLine::update(std::size_t done) {
  const Clock::time_point now = Clock::now();
  if (done < total_ && now - drawn_ < std::chrono::milliseconds(200)) return;
  drawn_ = now;
  const std::string text =
      progressText(done, total_, std::chrono::duration<double>(now - start_).count());
  // Spaces cover what a longer earlier line left behind.
  const std::size_t pad = width_ > text.size() ? width_ - text.size() : 0;
  std::fprintf(out_, "\r%s%*s", text.c_str(), static_cast<int>(pad), "");
  std::fflush(out_);
  width_ = text.size();
}

void ProgressLine::clear() {
  if (width_ == 0) return;
  std::fprintf(out_, "\r%*s\r", static_cast<int>(width_), "");
  std::fflush(out_);
  width_ = 0;
}

}  // namespace morvane::inspect
