# Sourced by the scripts that run Windows programs: one project-local Wine
# prefix, quiet Wine, no Mono or Gecko installer, no Linux menu entries for
# the Start menu shortcuts that an installer makes (and the DLL overrides a
# test asks for in SELTANE_WINE_DLL_OVERRIDES), and qemu's address-space
# reservation where 32-bit programs run under qemu.
here_wine=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here_wine/.wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${SELTANE_WINE_DLL_OVERRIDES:+;$SELTANE_WINE_DLL_OVERRIDES}"
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  export QEMU_RESERVED_VA=0x7fff0000
fi
unset here_wine

# The sample list that `make run` opens lives in "Seltane sample" in the
# Pictures folder of the prefix's user, so that kel shows the paths a Windows
# user would see. Sets sample_folder (the Linux path) and
# sample_windows_folder, and makes the sample when it is missing. kel, started
# in that folder, opens the list on a first start, when it sets the default
# options; when the stored options name a list that is gone, they are
# pointed at the sample list.
prepare_sample() {
  local profile current options='HKCU\Software\Orvik\Seltane'
  profile=$(/usr/lib/wine/wine64 cmd /c echo %USERPROFILE% </dev/null 2>/dev/null | tr -d '\r')
  sample_windows_folder="$profile\\Pictures\\Seltane sample"
  sample_folder="$WINEPREFIX/drive_c/$(echo "${profile#?:\\}" | tr '\\' '/')/Pictures/Seltane sample"
  "$(dirname "${BASH_SOURCE[0]}")/make-sample.sh" "$sample_folder" "$sample_windows_folder"
  current=$(/usr/lib/wine/wine64 reg query "$options" /v WallpaperList </dev/null 2>/dev/null |
    tr -d '\r' | sed -n 's/.*REG_SZ *//p' || true)
  if [ -n "$current" ] && [ ! -f "$(/usr/lib/wine/wine64 winepath -u "$current" 2>/dev/null </dev/null)" ]; then
    /usr/lib/wine/wine64 reg add "$options" /v WallpaperList /d "$sample_windows_folder\\default.lst" /f \
      >/dev/null 2>&1 </dev/null
  fi
}
