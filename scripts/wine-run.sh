#!/usr/bin/env bash
# Runs one Windows program under Wine: wine-run.sh win32|win64 PROGRAM ARGS...
# Its exit code and output reach the caller unchanged (ctest uses this as the
# emulator); a Wine that cannot start is a failure that says why.
set -euo pipefail
trap 'echo "wine-run.sh: failed at line $LINENO before starting the program" >&2' ERR
export MORVANE_WINE_ARCH="$1"
shift
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if ! morvane_wine_works; then
  echo "wine-run.sh: cannot run $1: $WINEARCH Wine does not start on this machine ($(morvane_wine_problem)); run ./scripts/install-deps.sh, or test the other width's build" >&2
  exit 127
fi
morvane_wine_prefix
# A server started by the program itself, and the services the first
# program starts, hold its output open for seconds after it ends, and ctest
# waits for that output to close. Started here with their output elsewhere,
# they serve the next programs too.
wineserver -p10 </dev/null >/dev/null 2>&1 || true
"$morvane_wine" wineboot </dev/null >/dev/null 2>&1 || true
exec "$morvane_wine" "$@"
