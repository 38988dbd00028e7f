#!/usr/bin/env bash
# The whole test run: installs what is missing, builds every preset and runs
# every test (native, sanitizers, the fuzzer, the Windows builds under Wine)
# and writes the Windows download (32-bit only). Ends with each step's time.
#
# Two cores are the budget, so nothing is compiled twice and nothing waits
# that need not: the sanitize preset builds the tests and the fuzz targets
# in one clang build; the fuzzer (one core) runs beside the Windows builds,
# and a Windows suite under Wine beside the next build.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
jobs=$(nproc)
logs=build/test-logs
mkdir -p "$logs"
run_started=$(date +%s)

# Each step's seconds, printed at the end whether the run passes or not.
times=()
step_name=""
step_started=0
end_step() {
  [ -n "$step_name" ] || return 0
  times+=("$(printf '%6d s  %s%s' $(($(date +%s) - step_started)) "$step_name" "${1:-}")")
  step_name=""
}
step() {
  end_step
  step_name=$1
  step_started=$(date +%s)
  echo
  echo "=== $1"
}
summary() {
  local rc=$?
  # A failed step ends what still runs beside it.
  [ "$rc" -eq 0 ] || kill $(jobs -p) 2>/dev/null || true
  end_step "$([ "$rc" -eq 0 ] || echo '  (failed)')"
  # Steps that ran beside others say so and wrote their own times.
  local f
  for f in "$logs"/*.time; do
    [ -f "$f" ] && times+=("$(cat "$f")")
  done
  echo
  echo "=== Time per step (seconds, wall clock)"
  printf '%s\n' "${times[@]}"
  printf '%6d s  in all\n' $(($(date +%s) - run_started))
  [ "$rc" -eq 0 ] || echo "The test run FAILED (exit status $rc)."
}
trap summary EXIT
rm -f "$logs"/*.time "$logs"/*.log

# A step run in the background: its output goes to a log, printed when it is
# waited for; its time is written beside it.
background() {
  local name=$1 label=$2
  shift 2
  (
    started=$(date +%s)
    rc=0
    "$@" >"$logs/$name.log" 2>&1 || rc=$?
    printf '%6d s  %s (beside the builds)%s\n' $(($(date +%s) - started)) "$label" \
      "$([ "$rc" -eq 0 ] || echo '  (failed)')" >"$logs/$name.time"
    exit "$rc"
  ) &
  eval "pid_$name=$!"
}
await() {
  local name=$1 pid_var="pid_$1" rc=0
  wait "${!pid_var}" || rc=$?
  echo
  echo "=== output of: $(sed 's/^ *[0-9]* s  //' "$logs/$name.time" 2>/dev/null || echo "$name")"
  cat "$logs/$name.log"
  return "$rc"
}

step "install what is missing"
./scripts/install-deps.sh

step "native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

step "minimaps of the shared recordings and the demo folder into build/minimaps"
./scripts/minimaps.sh

step "sanitizer build (clang; tests and fuzz targets) and tests"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset sanitize -j"$jobs"

background fuzz "fuzzing load, parse and minimap for ${MORVANE_FUZZ_SECONDS:-60} s" \
  ./scripts/fuzz.sh "${MORVANE_FUZZ_SECONDS:-60}"

# Which Wine starts here is found by trying: a kernel without IA-32 emulation
# cannot run 32-bit Wine at all, and a mirror may have kept it from being
# installed.
runs() { (MORVANE_WINE_ARCH=$1 && source scripts/wine-env.sh && morvane_wine_works); }
problem() { (MORVANE_WINE_ARCH=$1 && source scripts/wine-env.sh && morvane_wine_problem); }
suites=()
if runs win32 && runs win64; then
  suites=(win32 win64)
  why="both 32-bit and 64-bit Wine start on this machine"
elif runs win64; then
  suites=(win64)
  why="32-bit Wine does not start on this machine ($(problem win32))"
elif runs win32; then
  suites=(win32)
  why="64-bit Wine does not start on this machine ($(problem win64))"
else
  echo "Neither 32-bit nor 64-bit Wine starts on this machine: run ./scripts/install-deps.sh, then try again." >&2
  exit 1
fi
echo
echo "Windows suites to run: ${suites[*]}, because $why."

tested() { [[ " ${suites[*]} " == *" $1 "* ]]; }

# A build whose suite runs builds everything; the other builds what it ships
# (its tests are the same sources, compiled and run in the other width).
# The tested builds run their suites beside the next build.
for preset in win64 win32; do
  if tested "$preset"; then
    step "$preset build (programs, tests, benchmarks) and its import table"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$jobs"
  else
    step "$preset build (the shipped programs only: its Wine does not start here) and its import table"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$jobs" --target morvane morvane-inspect
  fi
  ctest --preset "$preset" -R '^morvane_shipped_imports$'
  if tested "$preset"; then
    background "wine_$preset" "Windows tests of the $preset build under Wine" \
      ctest --preset "$preset" -j"$jobs" -E '^morvane_shipped_imports$'
  fi
done

step "waiting for the fuzzer and the Wine suites"
failed=0
await fuzz || failed=1
for preset in "${suites[@]}"; do
  await "wine_$preset" || failed=1
done
[ "$failed" -eq 0 ] || { echo "A step run beside the builds failed: its output is above." >&2; exit 1; }

step "Windows download (the 32-bit program) and its checks"
./scripts/package.sh
end_step

echo
echo "All test runs passed (Windows suites run: ${suites[*]})."
