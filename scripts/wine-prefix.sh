#!/usr/bin/env bash
# Creates the project's Wine prefix (64-bit, so it runs 32- and 64-bit
# programs) once, and chooses its display driver: "null" (the default) runs
# window code without an X server, as the tests do; "x11" shows windows on
# $DISPLAY.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
source "$(dirname "$0")/steps.sh"
driver=${1:-null}
marker="$WINEPREFIX/.seltane-ready"
if [ ! -f "$marker" ]; then
  create_prefix() {
    WINEARCH=win64 /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 </dev/null && wineserver -w
  }
  timed "Creating the Wine prefix in $WINEPREFIX" create_prefix
  touch "$marker"
fi
# Wine's own fonts (Tahoma for the windows' text, Marlett for the caption
# buttons) are not found where Debian installs them: copy them into the
# prefix.
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
# Wine links the user's Desktop, Documents, Pictures and the like to the
# Linux home folder. Make them folders of the prefix, so that what kel and
# the scripts write there stays inside the prefix. Wine links them again when
# it updates the prefix, so this is checked every time.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then
    rm "$link" && mkdir "$link"
  fi
done
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null 2>&1 </dev/null
# Wine draws the window frames itself, as Windows does, also where no window
# manager runs (the screenshots under Xvfb).
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 </dev/null
# Processes started before the change (the desktop among them) keep the old
# driver: end them, so that the next program starts with the new one.
wineserver -k >/dev/null 2>&1 || true
