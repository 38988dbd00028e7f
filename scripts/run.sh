#!/usr/bin/env bash
# Starts Morvane. Until the window exists: the inspector on a demo recording.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
./scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)"
echo "The window is not built yet."
