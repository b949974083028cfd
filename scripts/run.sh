#!/usr/bin/env bash
# Builds kel (the 32-bit product, with kelrun and both libraries beside it)
# and starts it under Wine on the sample list, which lives in a pictures
# folder of the prefix's user. With a display it shows on $DISPLAY; without
# one it runs under Xvfb and saves a screenshot.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh
scripts/wine-prefix.sh x11
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)" --target kel kelrun common main start_answering

if [ -z "${DISPLAY:-}" ]; then
  echo "No display here: running kel under Xvfb."
  exec scripts/screenshot.sh "$here/screenshots/kel-run.png" win32
fi
source scripts/wine-env.sh
prepare_sample
cd "$sample_folder"
exec /usr/lib/wine/wine "$here/build/win32/bin/kel.exe" "$@"
