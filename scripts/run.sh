#!/usr/bin/env bash
# Starts Morvane under Wine on a demo SaveGame folder written by the
# project's own fixture writer.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" --target morvane-make-demo morvane-inspect
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)" --target morvane

source scripts/demo-env.sh
morvane_prepare_demo
if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no display (\$DISPLAY is empty). Morvane is a window program;" >&2
  echo "  run it on a desktop session, or on a virtual screen: xvfb-run -a ./scripts/run.sh" >&2
  exit 1
fi

export LC_ALL=ja_JP.UTF-8
exec wine build/win32/src/ui/morvane.exe
