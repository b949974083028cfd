# Sourced by the scripts that run Windows programs: one project-local Wine
# prefix, quiet Wine, no Mono or Gecko installer, and qemu's address-space
# reservation where 32-bit programs run under qemu.
here_wine=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here_wine/.wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  export QEMU_RESERVED_VA=0x7fff0000
fi
unset here_wine
