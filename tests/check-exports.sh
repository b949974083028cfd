#!/usr/bin/env bash
# Checks that each library exports exactly the given names, undecorated:
# check-exports.sh OBJDUMP LIBRARY NAME... [LIBRARY NAME...]
set -euo pipefail
objdump=$1
shift
status=0
library=""
declare -A expected
check() {
  [ -n "$library" ] || return 0
  actual=$("$objdump" -p "$library" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[\s*[0-9]*\] //p' | sort)
  wanted=$(printf '%s\n' "${!expected[@]}" | sort)
  if [ "$actual" != "$wanted" ]; then
    echo "$library exports:"; echo "$actual"; echo "expected:"; echo "$wanted"
    status=1
  else
    echo "$library exports $(echo $wanted)"
  fi
}
for argument in "$@"; do
  if [[ "$argument" == *.dll ]]; then
    check
    library=$argument
    expected=()
  else
    expected[$argument]=1
  fi
done
check
exit $status
