#!/usr/bin/env bash
# The whole test run: installs what is missing, builds every preset and runs
# every test (native, sanitizers, the fuzzer, the Windows build under Wine).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
./scripts/install-deps.sh

jobs=$(nproc)
step() { echo; echo "=== $*"; }

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

step "sanitizer build and tests"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset sanitize -j"$jobs"

step "fuzzing load and parseHeader for ${MORVANE_FUZZ_SECONDS:-60} s"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
./scripts/fuzz.sh "${MORVANE_FUZZ_SECONDS:-60}"

step "Windows build and tests under Wine"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$jobs"
ctest --preset win32 -j1

echo
echo "All test runs passed."
