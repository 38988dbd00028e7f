// The libFuzzer entry point of one target, named by MORVANE_FUZZ_CHECK:
// stops on the first broken promise.
#include <cstdio>
#include <cstdlib>

#include "fuzz_recording.h"
#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* broken = morvane::fuzzing::MORVANE_FUZZ_CHECK(data, size)) {
    std::fprintf(stderr, "broken promise: %s\n", broken);
    std::abort();
  }
  return 0;
}
