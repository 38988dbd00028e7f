#!/usr/bin/env bash
# Writes build/minimaps/NAME.png for every shared recording and
# build/minimaps/demo/NAME.png for the demo folder's games, with the native
# build's morvane-inspect --minimap; fails when one does not load, but for a
# version the reader names and refuses (it draws none of those). With
# --readme it also writes the README's pictures: docs/minimap-islands.png
# (the demo's 4v4 islands game) and docs/minimap-4v4.png (a shared
# recording's real 4v4 map with its gold, stone, relics and buildings).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

inspect=build/native/tools/inspect/morvane-inspect
[ -x "$inspect" ] && [ -x build/native/tools/morvane-make-demo ] ||
  { echo "minimaps.sh: build the native preset first" >&2; exit 1; }
out=build/minimaps
rm -rf "$out"
mkdir -p "$out"

shared=../shared/recordings
if [ -d "$shared" ]; then
  lines=$("$inspect" --raw --minimap "$out" "$shared") || [ $? -eq 1 ]
  failed=$(grep '"loaded":false' <<<"$lines" | grep -v '"supported":false' || true)
  if [ -n "$failed" ]; then
    echo "minimaps.sh: a shared recording did not load:" >&2
    echo "$failed" >&2
    exit 1
  fi
  refused=$(grep -c '"supported":false' <<<"$lines" || true)
  echo "wrote $(find "$out" -maxdepth 1 -name '*.png' | wc -l) pictures of $(wc -l <<<"$lines") shared recordings into $out ($refused of a version the reader refuses)"
else
  echo "no shared recordings at $shared"
fi

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
build/native/tools/morvane-make-demo "$demo/SaveGame"
# The games the window lists; the folder's other files are not recordings.
"$inspect" --raw --minimap "$out/demo" "$demo"/SaveGame/*.mgx >/dev/null
echo "wrote the demo folder's pictures into $out/demo"

readme=docs/minimap-islands.png
if [ "${1:-}" = "--readme" ]; then
  mkdir -p docs
  cp "$out/demo/rec_4v4_islands.png" "$readme"
  echo "wrote $readme"
  real=$out/up14_8p_rec.20170810-003954.png
  if [ -f "$real" ]; then
    cp "$real" docs/minimap-4v4.png
    echo "wrote docs/minimap-4v4.png"
  fi
elif ! cmp -s "$out/demo/rec_4v4_islands.png" "$readme"; then
  echo "note: $readme differs from the demo's picture; ./scripts/minimaps.sh --readme writes it again"
fi
