#!/usr/bin/env bash
# Builds kel (the 32-bit product, with kelrun and both libraries beside it)
# and starts it under Wine on the sample list. With a display it shows on
# $DISPLAY; without one it runs under Xvfb and saves a screenshot.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh
scripts/wine-prefix.sh x11
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)" --target kel kelrun common main
scripts/make-sample.sh

source scripts/wine-env.sh
# Point the options at the sample list when the list they name is gone (a
# first start asks for the defaults, which name the sample list because kel
# starts in the sample folder).
sample_list="Z:$(echo "$here/sample/default.lst" | tr '/' '\\')"
current=$(/usr/lib/wine/wine64 reg query 'HKCU\Software\Orvik\Seltane' /v WallpaperList 2>/dev/null </dev/null |
  tr -d '\r' | sed -n 's/.*REG_SZ *//p' || true)
if [ -n "$current" ]; then
  linux_path=$(echo "$current" | sed -n 's/^[Zz]://p' | tr '\\' '/')
  if [ -n "$linux_path" ] && [ ! -f "$linux_path" ]; then
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Orvik\Seltane' /v WallpaperList /d "$sample_list" /f >/dev/null 2>&1 </dev/null
  fi
fi

if [ -n "${DISPLAY:-}" ]; then
  cd sample
  exec /usr/lib/wine/wine "$here/build/win32/bin/kel.exe" "$@"
fi
echo "No display here: running kel under Xvfb."
scripts/screenshot.sh "$here/screenshots/kel-run.png" win32
