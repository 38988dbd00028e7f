#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12.
#
# A package mirror that stumbles (an index of the wrong size while it syncs)
# must not stop the run where it need not: apt-get update is retried, an
# index that still fails is named and the run goes on with the indexes it
# has. The packages the tests cannot do without are installed in one step
# whose failure stops the run with a sentence; the 32-bit Wine is installed
# on its own, and when it cannot be, the test run does what it does where
# 32-bit Wine does not start: it runs the 64-bit Windows suite.
set -uo pipefail
export DEBIAN_FRONTEND=noninteractive
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

required=(
  cmake ninja-build g++ clang libclang-rt-14-dev zlib1g-dev libicu-dev
  googletest libbenchmark-dev pkg-config libstb-dev libsqlite3-dev
  nlohmann-json3-dev
  dpkg-dev tcl xz-utils
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 fonts-wine
  xvfb xauth xdotool imagemagick fonts-vlgothic locales
)
optional_wine32=wine32:i386

say() { echo "install-deps: $*" >&2; }

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing_of() {
  local p
  for p in "$@"; do installed "$p" || echo "$p"; done
}

# apt-get update, up to $1 times (default 3) with a pause; what still fails
# after that is named (apt keeps every index it did fetch, so the run can go
# on).
updated=0
update_indexes() {
  [ "$updated" -eq 0 ] || return 0
  updated=1
  local tries=${1:-3} try log
  log=$(mktemp)
  for ((try = 1; try <= tries; try++)); do
    if $sudo apt-get update -qq >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    [ "$try" -lt "$tries" ] && { say "apt-get update failed (try $try of $tries), trying again in 5 s"; sleep 5; }
  done
  local failed
  failed=$(grep -o 'Failed to fetch [^ ]*' "$log" | sed 's/^Failed to fetch //' | sort -u)
  if [ -n "$failed" ]; then
    say "these package indexes could not be fetched (tried $tries time(s)); going on with the indexes that were:"
    printf '  %s\n' $failed >&2
  else
    say "apt-get update failed (tried $tries time(s)); going on with the indexes already on this machine:"
    sed 's/^/  /' "$log" >&2
  fi
  rm -f "$log"
}

# The Windows builds compile SQLite from Debian's source package of the same
# suite (scripts/fetch-sqlite.sh), so apt needs the source entries too.
src_list=/etc/apt/sources.list.d/morvane-src.sources
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
  update_indexes
fi

need_wine32=0
installed "$optional_wine32" || need_wine32=1
if [ "$need_wine32" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  updated=0
fi

mapfile -t missing < <(missing_of "${required[@]}")
if [ ${#missing[@]} -gt 0 ]; then
  update_indexes
  say "installing ${missing[*]}"
  if ! $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
    mapfile -t still < <(missing_of "${required[@]}")
    say "could not install ${still[*]:-the packages above}, which the build and the tests need."
    say "The package mirror may be syncing: run ./scripts/install-deps.sh again in a few minutes."
    exit 1
  fi
fi

# The 32-bit Wine runs the product's own build; without it the test run runs
# the 64-bit build's Windows suite instead. It is optional, so a mirror that
# keeps failing its index costs one try here, not three.
if [ "$need_wine32" -eq 1 ]; then
  update_indexes 1
  if ! $sudo apt-get install -y -qq --no-install-recommends "$optional_wine32" >/tmp/morvane-wine32.log 2>&1; then
    say "32-bit Wine ($optional_wine32) could not be installed ($(grep -m1 -E '^E:' /tmp/morvane-wine32.log | sed 's/^E: //')); the Windows tests run on the 64-bit build only."
  fi
  rm -f /tmp/morvane-wine32.log
fi

# Japanese locale: Wine then runs programs in code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  $sudo sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
exit 0
