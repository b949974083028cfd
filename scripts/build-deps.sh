#!/usr/bin/env bash
# Cross-builds libjpeg-turbo (static, with its SIMD code) from Debian's source
# package once per Windows architecture into .deps/<arch>. Skips an
# architecture whose library is already there.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/steps.sh"
deps="$here/.deps"
mkdir -p "$deps/src"

src=$(ls -d "$deps"/src/libjpeg-turbo-*/ 2>/dev/null | head -n 1 || true)
if [ -z "$src" ]; then
  timed "Fetching libjpeg-turbo's source package" \
    bash -c 'cd "$1" && apt-get source -q libjpeg-turbo >/dev/null' _ "$deps/src"
  src=$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n 1)
fi

build_libjpeg_turbo() {
  local arch=$1 prefix=$2 build="$deps/build/libjpeg-turbo-$1" log="$deps/build/libjpeg-turbo-$1.log"
  rm -rf "$build"; mkdir -p "$deps/build"
  cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-$arch.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DREQUIRE_SIMD=ON -DWITH_JPEG8=OFF >"$log" &&
    cmake --build "$build" -j"$(nproc)" >>"$log" &&
    cmake --install "$build" >>"$log"
}

for arch in i686 x86_64; do
  prefix="$deps/$arch"
  if [ -f "$prefix/lib/libjpeg.a" ] && [ -d "$prefix/lib/cmake/libjpeg-turbo" ]; then
    continue
  fi
  timed "Building libjpeg-turbo for $arch (log: .deps/build/libjpeg-turbo-$arch.log)" \
    build_libjpeg_turbo "$arch" "$prefix"
done
