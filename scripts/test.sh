#!/usr/bin/env bash
# The whole test run: installs what is missing, builds every preset and runs
# every test (native, sanitizers, the fuzzer, both Windows builds under Wine)
# and writes the Windows download (32-bit only).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
./scripts/install-deps.sh

jobs=$(nproc)
step() { echo; echo "=== $*"; }

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

step "minimaps of the shared recordings and the demo folder into build/minimaps"
./scripts/minimaps.sh

step "sanitizer build and tests"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset sanitize -j"$jobs"

step "fuzzing load, parse and minimap for ${MORVANE_FUZZ_SECONDS:-60} s"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
./scripts/fuzz.sh "${MORVANE_FUZZ_SECONDS:-60}"

step "Windows builds (32-bit and 64-bit) and their import tables"
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -R '^morvane_shipped_imports$'
done

# Which Wine starts here is found by trying: a kernel without IA-32 emulation
# cannot run 32-bit Wine at all.
runs() { (MORVANE_WINE_ARCH=$1 && source scripts/wine-env.sh && morvane_wine_works); }
suites=()
if runs win32 && runs win64; then
  suites=(win32 win64)
  why="both 32-bit and 64-bit Wine start on this machine"
elif runs win64; then
  suites=(win64)
  why="32-bit Wine does not start on this machine ($(MORVANE_WINE_ARCH=win32 && source scripts/wine-env.sh && morvane_wine_problem))"
elif runs win32; then
  suites=(win32)
  why="64-bit Wine does not start on this machine ($(MORVANE_WINE_ARCH=win64 && source scripts/wine-env.sh && morvane_wine_problem))"
else
  echo "Neither 32-bit nor 64-bit Wine starts on this machine: run ./scripts/install-deps.sh, then try again." >&2
  exit 1
fi
step "Windows tests under Wine: ${suites[*]} build(s), because $why"
for preset in "${suites[@]}"; do
  ctest --preset "$preset" -j1 -E '^morvane_shipped_imports$'
done

step "Windows download (the 32-bit program) and its checks"
./scripts/package.sh

echo
echo "All test runs passed (Windows suites run: ${suites[*]})."
