#!/usr/bin/env bash
# Starts Morvane under Wine on a demo SaveGame folder written by the
# project's own fixture writer.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$(pwd)

./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" --target morvane-make-demo morvane-inspect
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)" --target morvane

# The demo folder: <build>/demo/SaveGame, the game's folder being <build>/demo.
demo="$repo/build/demo"
rm -rf "$demo"
build/native/tools/morvane-make-demo "$demo/SaveGame"

# A prefix of its own that draws on the display (the test prefix has none).
export MORVANE_WINEPREFIX="$repo/build/wineprefix-gui" MORVANE_WINE_DISPLAY=1
source scripts/wine-env.sh
morvane_wine_prefix
wine reg add 'HKLM\Software\Microsoft\Microsoft Games\Age of Empires II: The Conquerors Expansion\1.0' \
  /v "EXE Path" /t REG_SZ /d "Z:${demo//\//\\}" /f >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no display (\$DISPLAY is empty). Morvane is a window program;" >&2
  echo "  run it on a desktop session, or on a virtual screen: xvfb-run -a ./scripts/run.sh" >&2
  exit 1
fi

export LC_ALL=ja_JP.UTF-8
exec wine build/win32/src/ui/morvane.exe
