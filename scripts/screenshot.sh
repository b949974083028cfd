#!/usr/bin/env bash
# Starts the built kel under Xvfb on the sample list, closes a first start's
# message and saves a screenshot of the main window:
#   scripts/screenshot.sh OUTPUT.png [win32|win64] [KEY...]
# With keys (xdotool's names, such as F11 or ctrl+F1) it presses them in turn
# in the main window once it is up, and saves the window they opened instead:
#   scripts/screenshot.sh docs/kel-about.png win32 ctrl+F1
# With DPI set in the environment the screen runs at that DPI (Wine's
# LogPixels, put back afterwards):
#   DPI=144 scripts/screenshot.sh kel-144.png win32
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
output=$1
preset=${2:-win32}
keys=("${@:3}")
dpi=${DPI:-}
source "$here/scripts/wine-env.sh"
wine=/usr/lib/wine/wine
[ "$preset" = win64 ] && wine=/usr/lib/wine/wine64
prepare_sample
# Windows on the X display, as make run shows them; make test switches back.
"$here/scripts/wine-prefix.sh" x11 >/dev/null

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

# kel's visible top-level windows, as X sees them.
kel_windows() { xdotool search --onlyvisible --classname '^kel\.exe$' 2>/dev/null || true; }

# The helper presses the default button of each box kel shows before its main
# window (the first start's welcome message) and returns once
# the main window is up.
kel="Z:$(echo "$here/build/$preset/bin/kel.exe" | tr '/' '\\')"
if ! (cd "$sample_folder" && "$wine" "$here/build/$preset/tools/start-answering.exe" \
  SeltaneMainWindow 120 "\"$kel\"" </dev/null); then
  echo "kel did not come up under Xvfb (see above)" >&2
  exit 1
fi
# The main window is the one whose caption names the picture shown, which it
# does once the first row is selected and the preview drawn ("Seltane -
# sunset.jpg - [list]"); the program's taskbar button has a window of its own
# named "Seltane".
main_window() {
  for candidate in $(kel_windows); do
    xdotool getwindowname "$candidate" 2>/dev/null | grep -q ' - ' && { echo "$candidate"; return; }
  done
}
window=""
for _ in $(seq 100); do
  window=$(main_window)
  [ -n "$window" ] && break
  sleep 0.1
done
# A list with no picture leaves the caption at the program's name alone.
[ -n "$window" ] || window=$(kel_windows | tail -n 1)
[ -n "$window" ] || { echo "kel's main window is not on the X display" >&2; exit 1; }
# The pointer moves to a corner, away from kel, so that no hint shows.
xdotool mousemove 1279 799 >/dev/null 2>&1 || true

if [ ${#keys[@]} -gt 0 ]; then
  before=$(kel_windows)
  xdotool windowfocus --sync "$window"
  xdotool key --delay 200 "${keys[@]}"
  window=""
  for _ in $(seq 300); do
    window=$(kel_windows | grep -vxF "$before" | tail -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "kel opened no window after the keys ${keys[*]}" >&2; exit 1; }
fi
sleep 1
mkdir -p "$(dirname "$output")"
import -display "$display" -window "$window" "$output"
echo "Screenshot of kel saved to $output"
