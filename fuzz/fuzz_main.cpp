// The libFuzzer entry point: stops on the first broken promise.
#include <cstdio>
#include <cstdlib>

#include "fuzz_recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* broken = morvane::fuzzing::checkRecording(data, size)) {
    std::fprintf(stderr, "broken promise: %s\n", broken);
    std::abort();
  }
  return 0;
}
