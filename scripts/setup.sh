#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine and
# builds the third-party libraries once. Safe to run again: every step checks
# first whether it is already done.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(
  cmake make nasm dpkg-dev googletest clang libclang-rt-14-dev clang-format
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386 qemu-user-static xvfb xauth imagemagick xdotool x11-utils fonts-wine nsis
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

# libjpeg-turbo is cross-built from Debian's source package, which needs a
# deb-src entry.
src_list=/etc/apt/sources.list.d/seltane-deb-src.sources
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | as_root tee "$src_list" >/dev/null
  else
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee /etc/apt/sources.list.d/seltane-deb-src.list >/dev/null
  fi
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  as_root apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# 32-bit programs: some kernels are built without IA-32 emulation. Then qemu
# runs Wine's 32-bit loader, registered as the handler for 32-bit x86 ELF files.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    as_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::${magic}:${mask}:/usr/bin/qemu-i386-static:F" | as_root tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  QEMU_RESERVED_VA=0x7fff0000 /usr/lib/wine/wine --version >/dev/null
fi

"$here/scripts/build-deps.sh"
