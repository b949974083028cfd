#!/usr/bin/env bash
# Starts the built kel under Xvfb with the sample list, answers a first
# start's question, and saves a screenshot of the main window, optionally
# with the screen at another DPI (Wine's LogPixels, put back afterwards):
#   scripts/screenshot.sh OUTPUT.png [win32|win64] [DPI]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
output=$1
preset=${2:-win32}
dpi=${3:-}
source "$here/scripts/wine-env.sh"
wine=/usr/lib/wine/wine
[ "$preset" = win64 ] && wine=/usr/lib/wine/wine64

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
desktop='HKCU\Control Panel\Desktop'
old_dpi=""
cleanup() {
  if [ -n "$dpi" ]; then
    if [ -n "$old_dpi" ]; then
      /usr/lib/wine/wine64 reg add "$desktop" /v LogPixels /t REG_DWORD /d "$old_dpi" /f >/dev/null 2>&1 </dev/null || true
    else
      /usr/lib/wine/wine64 reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 </dev/null || true
    fi
  fi
  wineserver -k >/dev/null 2>&1 || true
  kill $xvfb 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# Set once the display is there: the first Wine program starts the desktop
# on it.
if [ -n "$dpi" ]; then
  old_dpi=$(/usr/lib/wine/wine64 reg query "$desktop" /v LogPixels 2>/dev/null </dev/null |
    tr -d '\r' | sed -n 's/.*REG_DWORD *//p' || true)
  /usr/lib/wine/wine64 reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
fi

(cd "$here/sample" && "$wine" "$here/build/$preset/bin/kel.exe" </dev/null >/dev/null 2>&1 &)
# A first start asks whether to restore the default options, and may say
# that a file was created: answer OK.
window=""
for _ in $(seq 600); do
  window=$(xdotool search --name '^Seltane' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  if question=$(xdotool search --name '^(Error|Initialization error)$' 2>/dev/null | head -n 1) && [ -n "$question" ]; then
    # Wine takes keys only into the window that has the focus.
    xdotool windowfocus --sync "$question" key --window "$question" Return 2>/dev/null || true
  fi
  sleep 0.1
done
[ -n "$window" ] || { echo "kel showed no main window" >&2; exit 1; }
# The preview is drawn once the first row is selected: wait for its caption.
for _ in $(seq 100); do
  xdotool getwindowname "$window" 2>/dev/null | grep -q ' - ' && break
  sleep 0.1
done
sleep 1
mkdir -p "$(dirname "$output")"
import -display "$display" -window "$window" "$output"
echo "Screenshot of kel saved to $output"
