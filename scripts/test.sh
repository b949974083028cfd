#!/usr/bin/env bash
# Builds everything and runs every test: the format check, the native core
# tests under AddressSanitizer and UndefinedBehaviorSanitizer with the fuzz
# targets, the Windows tests of the x86_64 and i686 builds under Wine, the
# installer and uninstaller under Wine, and the benchmarks, which print
# figures.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh
scripts/wine-prefix.sh null

echo "== Format"
scripts/format.sh --check

for preset in native win64 win32; do
  echo "== Build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done
cmake --build --preset win32 --target package

source scripts/wine-env.sh
# One wineserver for the whole run; Wine's services are started before CTest
# so that none of them inherits CTest's output pipe.
wineserver -p >/dev/null 2>&1 </dev/null &
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null

status=0
for preset in native win64 win32; do
  echo "== Tests $preset"
  ctest --preset "$preset" || status=1
done

echo "== Package"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)
tests/installer/test-package.sh "build/win32/package/Seltane-$version-setup.exe" "$version" || status=1

echo "== Benchmarks (x86_64 under Wine)"
for bench in build/win64/bench/*.exe; do
  /usr/lib/wine/wine64 "$bench" </dev/null | tr -d '\r' || status=1
done
exit $status
