#!/usr/bin/env bash
# Builds kel (the 32-bit product) and starts it under Wine with the given
# arguments. With a display it shows on $DISPLAY; without one it runs under
# Xvfb and saves a screenshot.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh
scripts/wine-prefix.sh x11
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)" --target kel

source scripts/wine-env.sh
# kel keeps its files beside it: the default list and kelrun.exe.
cd build/win32
if [ -n "${DISPLAY:-}" ]; then
  exec /usr/lib/wine/wine kel.exe "$@"
fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
/usr/lib/wine/wine kel.exe "$@" </dev/null &
kel=$!
sleep "${SELTANE_SCREENSHOT_DELAY:-8}"
mkdir -p "$here/screenshots"
shot="$here/screenshots/kel-run.png"
import -display "$display" -window root "$shot"
echo "No display here: kel ran under Xvfb; screenshot saved to $shot"
if kill -0 $kel 2>/dev/null; then
  echo "kel is still running; ending it."
  wineserver -k || true
else
  wait $kel && echo "kel ended with exit code 0" || echo "kel ended with exit code $?"
fi
