#!/usr/bin/env bash
# SQLite for the Windows builds: Debian's source package of the suite this
# machine runs (the deb-src entry is added by install-deps.sh), checked
# against pinned SHA-256 sums, with Debian's patches applied, turned into the
# one-file amalgamation that CMake compiles into both programs.
#
#   scripts/fetch-sqlite.sh OUTPUT_DIR
#
# OUTPUT_DIR receives sqlite3.c and sqlite3.h; nothing is done when they are
# already there. A new Debian revision of the package means new sums here.
set -euo pipefail

version=3.40.1-2+deb12u2
upstream=3.40.1
sums="ee3459ae9d00939741c7708fc1b8ce1bde12d8c3fb1dfa005bbbc8651d884e23  sqlite3_${version}.dsc
aaa776260ab4dc976db34aa7891819484c8676b5b2783123ebc6301e2ca5d655  sqlite3_${upstream}.orig.tar.xz
a5e95a18d1b59729278860559ded78751b9163ffb5bb906c5cd24c015f71d5fd  sqlite3_${upstream}.orig-www.tar.xz
0843bc12e4364076477935ce313a6d0796fd899a989ff18ebb6545540e10e4ca  sqlite3_${version}.debian.tar.xz"

out=${1:?usage: fetch-sqlite.sh OUTPUT_DIR}
if [ -s "$out/sqlite3.c" ] && [ -s "$out/sqlite3.h" ]; then exit 0; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
echo "fetch-sqlite: apt-get source sqlite3=$version" >&2
# apt's own download user cannot write into a private temporary folder.
chmod 755 "$work"
apt-get source --download-only -qq "sqlite3=$version" >/dev/null 2>apt.log || {
  cat apt.log >&2
  echo "fetch-sqlite: no source package sqlite3=$version (is the deb-src entry there? run scripts/install-deps.sh)" >&2
  exit 1
}
echo "$sums" | sha256sum --check --quiet || {
  echo "fetch-sqlite: the source package does not match the pinned SHA-256 sums" >&2
  exit 1
}
dpkg-source --no-check -x "sqlite3_${version}.dsc" src >/dev/null
mkdir build
(cd build && ../src/configure --disable-tcl --disable-readline >/dev/null && make -s sqlite3.c >/dev/null)
mkdir -p "$out"
cp build/sqlite3.h "$out/sqlite3.h"
cp build/sqlite3.c "$out/sqlite3.c.part" && mv "$out/sqlite3.c.part" "$out/sqlite3.c"
echo "fetch-sqlite: $out/sqlite3.c from Debian's sqlite3 $version" >&2
