#!/usr/bin/env bash
# Writes build/screenshots/main.png: the demo folder listed and one game
# selected, build/screenshots/report.png: that game's report opened by
# Alt+Enter, and build/screenshots/search.png: the search window (Ctrl+F)
# with the demo tree's index built by its opening and a player found, drawn
# by Wine on a virtual screen. Needs the programs that ./scripts/run.sh
# builds. With --readme it writes docs/report.png as well.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [ -z "${MORVANE_IN_XVFB:-}" ]; then
  MORVANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

source scripts/demo-env.sh
morvane_choose_build
morvane_prepare_demo
export LC_ALL=ja_JP.UTF-8
wine explorer /desktop=morvane,1024x768 "build/$morvane_preset/src/ui/morvane.exe" &
sleep 8
# The last row of the list: the game with Japanese names and chat.
xdotool mousemove 80 189 click 1
sleep 2
mkdir -p build/screenshots
import -window root build/screenshots/main.png
xdotool key alt+Return
sleep 3
import -window root build/screenshots/report.png
# The search window over the demo tree: its index built by its opening, one
# player found. Esc closes the report, which Alt+Enter made the active window.
xdotool key Escape
sleep 1
xdotool mousemove 80 189 click 1
sleep 1
xdotool keydown ctrl key f keyup ctrl
# Opening it updates the tree's index; no button is pressed.
sleep 8
xdotool keydown alt key p keyup alt
xdotool type --delay 100 mia
xdotool key Return
sleep 2
import -window root build/screenshots/search.png
wineserver -k || true
echo "wrote build/screenshots/main.png, report.png and search.png"
if [ "${1:-}" = --readme ]; then
  # Both windows: the report stands at the screen's right edge, covering the
  # least of the main window, since the screen has no room beside it.
  cp build/screenshots/report.png docs/report.png
  echo "wrote docs/report.png"
fi
