#!/usr/bin/env bash
# check-manifest.sh WINDRES PROGRAM...: fails, with a sentence, when a shipped
# program's embedded manifest asks for an execution level. Windows gives a
# 32-bit program without one, as it gives the game, its per-user VirtualStore
# view of folders under Program Files, where a player's recordings usually
# are; Wine has no such view, so only the program's resources can tell.
set -euo pipefail
windres=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

u32() { od -An -tu4 -j"$2" -N4 "$1" | tr -d ' '; }
u16() { od -An -tu2 -j"$2" -N2 "$1" | tr -d ' '; }

status=0
for program in "$@"; do
  name=$(basename "$program")
  res="$work/resources.res"
  if ! "$windres" -J coff -O res -i "$program" -o "$res" 2>"$work/error"; then
    if grep -q "no resource section" "$work/error"; then
      echo "$name: no resources, so no manifest"
      continue
    fi
    echo "$name: cannot read its resources: $(cat "$work/error")" >&2
    status=1
    continue
  fi
  # A .res file is a run of entries: data size, header size, type, name, ...;
  # a type given by number is 0xFFFF and the number (24 for a manifest).
  size=$(stat -c %s "$res")
  offset=0
  manifests=0
  asks=0
  while [ $((offset + 12)) -le "$size" ]; do
    data=$(u32 "$res" "$offset")
    header=$(u32 "$res" $((offset + 4)))
    if [ "$header" -lt 16 ]; then
      echo "$name: cannot read its resources: an entry at byte $offset has a header of $header bytes" >&2
      status=1
      break
    fi
    if [ "$(u16 "$res" $((offset + 8)))" = 65535 ] && [ "$(u16 "$res" $((offset + 10)))" = 24 ]; then
      manifests=$((manifests + 1))
      dd if="$res" of="$work/manifest" iflag=skip_bytes,count_bytes skip=$((offset + header)) \
        count="$data" bs=65536 status=none
      # UTF-8 or UTF-16: without its zero bytes the element's name reads the same.
      tr -d '\000' <"$work/manifest" >"$work/manifest.txt"
      if grep -aq requestedExecutionLevel "$work/manifest.txt"; then
        asks=1
      fi
    fi
    offset=$(((offset + header + data + 3) / 4 * 4))
  done
  if [ "$asks" = 1 ]; then
    echo "$name asks Windows for an execution level (requestedExecutionLevel in its manifest): Windows would then not show it the VirtualStore copy of a SaveGame folder under Program Files, where the game keeps a player's recordings." >&2
    status=1
  else
    echo "$name: $manifests manifest(s), no execution level requested"
  fi
done
exit $status
