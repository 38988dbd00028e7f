// Every input the fuzzing found a fault with, replayed through the fuzz
// target's body in this build (with its sanitizers, where it has them).
// Inputs are in the encoding of fuzz_input.h, named for their fault and
// minimized with the target's -minimize_crash=1. The fuzzer found the map
// size itself; the two lengths are seeds with one length set to INT32_MAX,
// which it did not reach in minutes.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "fuzz_recording.h"
#include "recording_writer/recording_writer.h"

namespace morvane::fuzzing {
namespace {

TEST(FuzzRegressionsTest, EveryFoundInputKeepsThePromises) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  std::error_code error;
  for (const fs::directory_entry& item : fs::directory_iterator(MORVANE_FUZZ_REGRESSIONS, error))
    if (item.is_regular_file()) inputs.push_back(item);
  // An empty or missing folder must not pass as a clean replay.
  ASSERT_FALSE(inputs.empty()) << MORVANE_FUZZ_REGRESSIONS;
  for (const fs::path& input : inputs) {
    const std::vector<uint8_t> bytes = fixtures::readFile(input.string());
    EXPECT_FALSE(bytes.empty()) << input;
    const char* broken = checkRecording(bytes.data(), bytes.size());
    EXPECT_EQ(broken, nullptr) << input.filename() << ": " << (broken ? broken : "");
  }
}

}  // namespace
}  // namespace morvane::fuzzing
