#!/usr/bin/env bash
# Starts Morvane under Wine on a demo SaveGame folder written by the
# project's own fixture writer.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

./scripts/install-deps.sh
source scripts/demo-env.sh
morvane_choose_build
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" --target morvane-make-demo morvane-inspect
cmake --preset "$morvane_preset" >/dev/null
cmake --build --preset "$morvane_preset" -j"$(nproc)" --target morvane

if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no display (\$DISPLAY is empty): run it on a desktop session, or on a virtual screen with: xvfb-run -a ./scripts/run.sh" >&2
  exit 1
fi
morvane_prepare_demo

export LC_ALL=ja_JP.UTF-8
exec "$morvane_wine" "build/$morvane_preset/src/ui/morvane.exe"
