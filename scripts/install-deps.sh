#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev zlib1g-dev libicu-dev
  googletest libbenchmark-dev pkg-config libstb-dev libsqlite3-dev
  dpkg-dev tcl xz-utils
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth xdotool imagemagick fonts-vlgothic locales
)

# The Windows builds compile SQLite from Debian's source package of the same
# suite (scripts/fetch-sqlite.sh), so apt needs the source entries too.
src_list=/etc/apt/sources.list.d/morvane-src.sources
need_update=0
if [ ! -f "$src_list" ]; then
  $sudo tee "$src_list" >/dev/null <<'EOF2'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF2
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
elif [ "$need_update" -eq 1 ]; then
  $sudo apt-get update -qq
fi

# Japanese locale: Wine then runs programs in code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  $sudo sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
