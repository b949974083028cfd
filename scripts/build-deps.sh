#!/usr/bin/env bash
# Cross-builds libjpeg-turbo (static, with its SIMD code) from Debian's source
# package once per Windows architecture into .deps/<arch>. Skips an
# architecture whose library is already there.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
deps="$here/.deps"
mkdir -p "$deps/src"

src=$(ls -d "$deps"/src/libjpeg-turbo-*/ 2>/dev/null | head -n 1 || true)
if [ -z "$src" ]; then
  (cd "$deps/src" && apt-get source -q libjpeg-turbo >/dev/null)
  src=$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n 1)
fi

for arch in i686 x86_64; do
  prefix="$deps/$arch"
  if [ -f "$prefix/lib/libjpeg.a" ] && [ -d "$prefix/lib/cmake/libjpeg-turbo" ]; then
    continue
  fi
  echo "Building libjpeg-turbo for $arch"
  build="$deps/build/libjpeg-turbo-$arch"
  rm -rf "$build"; mkdir -p "$deps/build"
  cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-$arch.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DREQUIRE_SIMD=ON -DWITH_JPEG8=OFF >"$deps/build/libjpeg-turbo-$arch.log"
  cmake --build "$build" -j"$(nproc)" >>"$deps/build/libjpeg-turbo-$arch.log"
  cmake --install "$build" >>"$deps/build/libjpeg-turbo-$arch.log"
done
