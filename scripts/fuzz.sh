#!/usr/bin/env bash
# Fuzzes load, parse and minimap for SECONDS (default 60), then the name tables
# and the code page text rules for a quarter of that each: writes the
# recording seed corpus into <build>/corpus-seed, runs each libFuzzer target
# and fails on any finding (the crashing input is kept in <build>/artifacts/).
# The build folder is build/sanitize (the sanitize preset, which builds the
# fuzz targets too) unless MORVANE_FUZZ_BUILD says otherwise.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds="${1:-60}"
build="${MORVANE_FUZZ_BUILD:-build/sanitize}"

target="$build/fuzz/morvane_fuzz_recording"
seeds="$build/fuzz/morvane_fuzz_seeds"
if [ ! -x "$target" ] || [ ! -x "$seeds" ] || [ ! -x "$build/fuzz/morvane_fuzz_name_table" ] ||
   [ ! -x "$build/fuzz/morvane_fuzz_code_page" ]; then
  echo "fuzz.sh: build the sanitize preset first (cmake --preset sanitize && cmake --build --preset sanitize)" >&2
  exit 2
fi

rm -rf "$build/corpus-seed"
mkdir -p "$build/corpus" "$build/corpus-name-table" "$build/corpus-code-page" "$build/artifacts"
# Real recordings as seeds too, where the shared folder is here: a short run
# then reaches the header fields that only real games fill.
shared=../shared/recordings
real=()
[ -d "$shared" ] && real=("$shared")
ASAN_OPTIONS=detect_leaks=0 "$seeds" "$build/corpus-seed" "${real[@]}"
# The longest input allowed is the longest seed's, at least 300000 bytes.
max_len=$(find "$build/corpus-seed" fuzz/regressions/recording -type f -printf '%s\n' |
  sort -n | tail -n 1)
[ "${max_len:-0}" -ge 300000 ] || max_len=300000

# The target writes its recordings into a temporary folder that libFuzzer's
# exit never removes: keep it in the build tree and remove it here.
export TMPDIR="$build/fuzz-tmp"
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"
trap 'rm -rf "$TMPDIR"' EXIT

# New inputs go into corpus/; the seeds and the regressions are only read.
# The Definitive Edition's seeds inflate to 30 MB headers, and the
# sanitizer's quarantine keeps freed ones: 2 GB was reached in a long run.
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}" \
"$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=20 -rss_limit_mb=4096 \
  -print_final_stats=1 -artifact_prefix="$build/artifacts/" \
  "$build/corpus" "$build/corpus-seed" fuzz/regressions/recording

# The files users keep beside the program, and the text the list filters
# and sorts: bytes of any kind, seeded by their replayed edge cases.
for text in name-table code-page; do
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
  UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}" \
  "$build/fuzz/morvane_fuzz_${text//-/_}" -max_total_time="$(( (seconds + 3) / 4 ))" -max_len=200000 \
    -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/" \
    "$build/corpus-$text" "fuzz/regressions/$text"
done
