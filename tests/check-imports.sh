#!/usr/bin/env bash
# Fails when a Windows program or library imports a DLL other than Windows'
# own: everything else must be linked in statically.
set -euo pipefail
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|msvcrt|ws2_32|version|uuid|common|api-ms-win-.*)\.dll$'
status=0
for file in "$@"; do
  while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
      echo "$file imports $dll, which Windows does not ship"
      status=1
    fi
  done < <("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
[ $status = 0 ] && echo "imports are Windows' own DLLs only: $*"
exit $status
