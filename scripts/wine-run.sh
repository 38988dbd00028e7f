#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's prefix; its exit
# code and output reach the caller unchanged (ctest uses this as emulator).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
morvane_wine_prefix
exec wine "$@"
