#!/usr/bin/env bash
# Builds the product (i686) and from it the installer and the zip of the
# program files, both named with the project's version, in build/win32/package/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)" --target package
ls -1 "$here"/build/win32/package/Seltane-*
