#!/usr/bin/env bash
# Creates the project's Wine prefix (64-bit, so it runs 32- and 64-bit
# programs) once, and chooses its display driver: "null" (the default) runs
# window code without an X server, as the tests do; "x11" shows windows on
# $DISPLAY.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
driver=${1:-null}
marker="$WINEPREFIX/.seltane-ready"
if [ ! -f "$marker" ]; then
  echo "Creating the Wine prefix in $WINEPREFIX"
  WINEARCH=win64 /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 </dev/null
  wineserver -w
  touch "$marker"
fi
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null 2>&1 </dev/null
# Processes started before the change (the desktop among them) keep the old
# driver: end them, so that the next program starts with the new one.
wineserver -k >/dev/null 2>&1 || true
