#!/usr/bin/env bash
# check-imports.sh OBJDUMP PROGRAM...: fails, naming the program and the DLL,
# when a shipped Windows program imports a DLL that Windows itself does not
# provide. Wine ships extra DLLs (zlib1.dll among them), so running the
# program under Wine cannot tell; its import table can.
set -euo pipefail
objdump=$1
shift
system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll ole32.dll advapi32.dll msvcrt.dll "
status=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r')
  if [ -z "$dlls" ]; then
    echo "$program: no import table found" >&2
    status=1
    continue
  fi
  for dll in $dlls; do
    lower=$(printf '%s' "$dll" | tr '[:upper:]' '[:lower:]')
    case "$system_dlls" in
      *" $lower "*) ;;
      *) echo "$(basename "$program") imports $dll, which Windows does not provide" >&2; status=1 ;;
    esac
  done
  echo "$(basename "$program"): imports $(echo $dlls)"
done
exit $status
