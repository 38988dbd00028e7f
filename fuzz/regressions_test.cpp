// Every input the fuzzing found a fault with, and the edge cases users' files
// hold, replayed through each fuzz target's body in this build (with its
// sanitizers, where it has them). Inputs are in each target's encoding, in a
// folder named for the target, each file named for its fault and minimized
// with the target's -minimize_crash=1. The fuzzer found the map size itself;
// the two lengths are seeds with one length set to INT32_MAX, which it did
// not reach in minutes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_recording.h"
#include "fuzz_text.h"
#include "recording_writer/recording_writer.h"

namespace morvane::fuzzing {
namespace {

TEST(FuzzRegressionsTest, EveryFoundInputKeepsThePromises) {
  namespace fs = std::filesystem;
  struct Target {
    const char* folder;
    const char* (*check)(const uint8_t*, std::size_t);
  };
  const Target targets[] = {
      {"recording", checkRecording},
      {"name-table", checkNameTable},
      {"code-page", checkCodePageText},
  };
  for (const Target& target : targets) {
    const fs::path folder = fs::path(MORVANE_FUZZ_REGRESSIONS) / target.folder;
    std::vector<fs::path> inputs;
    std::error_code error;
    for (const fs::directory_entry& item : fs::directory_iterator(folder, error))
      if (item.is_regular_file()) inputs.push_back(item);
    // An empty or missing folder must not pass as a clean replay.
    ASSERT_FALSE(inputs.empty()) << folder;
    for (const fs::path& input : inputs) {
      const std::vector<uint8_t> bytes = fixtures::readFile(input.string());
      EXPECT_FALSE(bytes.empty()) << input;
      const char* broken = target.check(bytes.data(), bytes.size());
      EXPECT_EQ(broken, nullptr) << input.filename() << ": " << (broken ? broken : "");
    }
  }
}

}  // namespace
}  // namespace morvane::fuzzing
