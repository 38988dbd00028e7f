# Sourced by the scripts that run Windows programs. MORVANE_WINE_ARCH picks the
# Wine of the program's width: win32 (the default, the product) or win64;
# MORVANE_WINE32 and MORVANE_WINE64 name another Wine loader of that width. Each
# width has its own prefix under the build tree; Wine runs quiet, without
# Mono/Gecko prompts, and with HOME kept out of the user's own folders.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEARCH="${MORVANE_WINE_ARCH:-win32}"
if [ "$WINEARCH" = win64 ]; then
  morvane_wine="${MORVANE_WINE64:-/usr/lib/wine/wine64}"
  export WINEPREFIX="${MORVANE_WINEPREFIX:-$repo_root/build/wineprefix64}"
else
  morvane_wine="${MORVANE_WINE32:-/usr/lib/wine/wine}"
  export WINEPREFIX="${MORVANE_WINEPREFIX:-$repo_root/build/wineprefix}"
fi
export WINELOADER="$morvane_wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export HOME="${MORVANE_WINE_HOME:-$repo_root/build/wine-home}"
mkdir -p "$HOME"

wine() { "$morvane_wine" "$@"; }
wineserver() { /usr/lib/wine/wineserver "$@"; }

# Whether this machine can start the Wine of $WINEARCH at all: found out by
# trying, since a kernel without IA-32 emulation answers "Exec format error".
morvane_wine_works() {
  [ -x "$morvane_wine" ] && "$morvane_wine" --version >/dev/null 2>&1
}

# Says why the Wine of $WINEARCH cannot run programs here, e.g.
# "/usr/lib/wine/wine: Exec format error".
morvane_wine_problem() {
  if [ ! -x "$morvane_wine" ]; then
    echo "$morvane_wine is not installed"
  else
    echo "$morvane_wine: $("$morvane_wine" --version 2>&1 | head -n 1 | sed 's/.*: //')"
  fi
}

# Creates the prefix once; several test programs may start at the same time.
morvane_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.morvane-ready" ]; then
      wine wineboot -i >/dev/null 2>&1 || true
      # Headless: dialogs and list views work without an X server.
      if [ -z "${MORVANE_WINE_DISPLAY:-}" ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f >/dev/null 2>&1
      fi
      # Wine draws the caption buttons with Marlett, from fonts-wine; this
      # Wine does not look for it outside the prefix.
      if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
      fi
      wineserver -w
      # The registry reaches the disk when the server ends.
      if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Wine could not make its prefix $WINEPREFIX: delete that folder and try again" >&2
        exit 1
      fi
      touch "$WINEPREFIX/.morvane-ready"
    fi
  ) 9>"$(dirname "$WINEPREFIX")/.wineprefix-$WINEARCH.lock"
}
