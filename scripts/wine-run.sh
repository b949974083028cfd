#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix: "32" or "64"
# first, then the program and its arguments. CTest runs the Windows tests
# through this.
set -euo pipefail
bits=$1
shift
source "$(dirname "$0")/wine-env.sh"
if [ "$bits" = 32 ]; then
  exec /usr/lib/wine/wine "$@"
else
  exec /usr/lib/wine/wine64 "$@"
fi
