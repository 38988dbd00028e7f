#!/usr/bin/env bash
# Writes the Windows download, build/dist/morvane-VERSION-win32.zip (the
# 32-bit program, the inspector, README.txt and SHA256SUMS of those), and
# build/dist/SHA256SUMS of the ZIP, from the win32 build, then checks what it
# wrote. VERSION is the project version in CMakeLists.txt.
#
# Only the 32-bit program is offered: it runs on 32- and 64-bit Windows and,
# like the game, gets Windows' per-user VirtualStore view of a SaveGame folder
# under Program Files, which a 64-bit program never gets. The win64 build is
# for Linux machines that cannot run 32-bit programs.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)
[ -n "$version" ] || { echo "package.sh: build the win32 preset first" >&2; exit 1; }
triple=i686-w64-mingw32
dist=build/dist
name="morvane-$version-win32"
rm -rf "$dist"
mkdir -p "$dist/$name"

stage="$dist/$name"
"$triple-strip" -o "$stage/morvane.exe" build/win32/src/ui/morvane.exe
"$triple-strip" -o "$stage/morvane-inspect.exe" build/win32/tools/inspect/morvane-inspect.exe
# UTF-8 with a byte-order mark: it names the window's Japanese menu items,
# and Notepad before Windows 10 1903 would read it in the ANSI code page.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' packaging/README.txt; } >"$stage/README.txt"
(cd "$stage" && sha256sum morvane.exe morvane-inspect.exe README.txt >SHA256SUMS)
(cd "$dist" && cmake -E tar cf "$name.zip" --format=zip --mtime=2000-01-01 "$name")
rm -rf "$stage"
(cd "$dist" && sha256sum ./*.zip | sed 's| \./| |' >SHA256SUMS)

# Check: the checksums hold, the ZIP unpacks to exactly its four files, whose
# own checksums hold, its programs import only what Windows provides and ask
# Windows for no execution level.
(cd "$dist" && sha256sum --quiet -c SHA256SUMS)
check="$dist/check"
mkdir -p "$check"
(cd "$check" && cmake -E tar xf "../$name.zip")
listed=$(cd "$check/$name" && ls | sort | tr '\n' ' ')
if [ "$listed" != "README.txt SHA256SUMS morvane-inspect.exe morvane.exe " ]; then
  echo "package.sh: $name.zip holds: $listed" >&2
  exit 1
fi
(cd "$check/$name" && sha256sum --quiet -c SHA256SUMS)
scripts/check-imports.sh "$triple-objdump" "$check/$name/morvane.exe" "$check/$name/morvane-inspect.exe" >/dev/null
scripts/check-manifest.sh "$triple-windres" "$check/$name/morvane.exe" "$check/$name/morvane-inspect.exe" >/dev/null
rm -rf "$check"
echo "package.sh: wrote and checked:"
(cd "$dist" && ls -l ./*.zip | awk '{print "  " $NF " (" $5 " bytes)"}' && sed 's/^/  /' SHA256SUMS)
