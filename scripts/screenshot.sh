#!/usr/bin/env bash
# Writes build/screenshots/main.png: the demo folder listed and one game
# selected, drawn by Wine on a virtual screen. Needs the programs that
# ./scripts/run.sh builds.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$(pwd)
if [ -z "${MORVANE_IN_XVFB:-}" ]; then
  MORVANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

demo="$repo/build/demo"
rm -rf "$demo"
build/native/tools/morvane-make-demo "$demo/SaveGame"
export MORVANE_WINEPREFIX="$repo/build/wineprefix-gui" MORVANE_WINE_DISPLAY=1
source scripts/wine-env.sh
morvane_wine_prefix
wine reg add 'HKLM\Software\Microsoft\Microsoft Games\Age of Empires II: The Conquerors Expansion\1.0' \
  /v "EXE Path" /t REG_SZ /d "Z:${demo//\//\\}" /f >/dev/null
export LC_ALL=ja_JP.UTF-8
wine explorer /desktop=morvane,1024x768 build/win32/src/ui/morvane.exe &
sleep 8
# The last row of the list: the game with Japanese names and chat.
xdotool mousemove 80 189 click 1
sleep 2
mkdir -p build/screenshots
import -window root build/screenshots/main.png
wineserver -k || true
echo "wrote build/screenshots/main.png"
