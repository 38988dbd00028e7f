# Sourced by the scripts that run Windows programs: one Wine prefix under the
# build tree, 32-bit, quiet, no Mono/Gecko prompts, HOME kept out of the
# user's own folders.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${MORVANE_WINEPREFIX:-$repo_root/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export HOME="${MORVANE_WINE_HOME:-$repo_root/build/wine-home}"
mkdir -p "$HOME"

# Creates the prefix once; several test programs may start at the same time.
morvane_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.morvane-ready" ]; then
      wineboot -i >/dev/null 2>&1 || true
      # Headless: dialogs and list views work without an X server.
      if [ -z "${MORVANE_WINE_DISPLAY:-}" ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f >/dev/null 2>&1
      fi
      wineserver -w
      touch "$WINEPREFIX/.morvane-ready"
    fi
  ) 9>"$(dirname "$WINEPREFIX")/.wineprefix.lock"
}
