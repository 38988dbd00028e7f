#!/usr/bin/env bash
# Writes build/dist/morvane-VERSION-win32.zip and -win64.zip (the program, the
# inspector, README.txt and SHA256SUMS of those) and build/dist/SHA256SUMS of
# the ZIPs, from the win32 and win64 builds, then checks what it wrote.
# VERSION is the project version in CMakeLists.txt.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)
[ -n "$version" ] || { echo "package.sh: build the win32 preset first" >&2; exit 1; }
dist=build/dist
rm -rf "$dist"
mkdir -p "$dist"

package() {
  local arch=$1 triple=$2 name="morvane-$version-$1"
  local stage="$dist/$name"
  mkdir -p "$stage"
  "$triple-strip" -o "$stage/morvane.exe" "build/$arch/src/ui/morvane.exe"
  "$triple-strip" -o "$stage/morvane-inspect.exe" "build/$arch/tools/inspect/morvane-inspect.exe"
  sed 's/$/\r/' packaging/README.txt >"$stage/README.txt"
  (cd "$stage" && sha256sum morvane.exe morvane-inspect.exe README.txt >SHA256SUMS)
  (cd "$dist" && cmake -E tar cf "$name.zip" --format=zip --mtime=2000-01-01 "$name")
  rm -rf "$stage"
}
package win32 i686-w64-mingw32
package win64 x86_64-w64-mingw32
(cd "$dist" && sha256sum ./*.zip | sed 's| \./| |' >SHA256SUMS)

# Check: the checksums hold, each ZIP unpacks to exactly its four files, whose
# own checksums hold, and its programs import only what Windows provides.
(cd "$dist" && sha256sum --quiet -c SHA256SUMS)
for arch in win32 win64; do
  name="morvane-$version-$arch"
  check="$dist/check-$arch"
  mkdir -p "$check"
  (cd "$check" && cmake -E tar xf "../$name.zip")
  listed=$(cd "$check/$name" && ls | sort | tr '\n' ' ')
  if [ "$listed" != "README.txt SHA256SUMS morvane-inspect.exe morvane.exe " ]; then
    echo "package.sh: $name.zip holds: $listed" >&2
    exit 1
  fi
  (cd "$check/$name" && sha256sum --quiet -c SHA256SUMS)
  triple=i686-w64-mingw32
  [ "$arch" = win64 ] && triple=x86_64-w64-mingw32
  scripts/check-imports.sh "$triple-objdump" "$check/$name/morvane.exe" "$check/$name/morvane-inspect.exe" >/dev/null
  rm -rf "$check"
done
echo "package.sh: wrote and checked:"
(cd "$dist" && ls -l ./*.zip | awk '{print "  " $NF " (" $5 " bytes)"}' && sed 's/^/  /' SHA256SUMS)
