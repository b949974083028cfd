#!/usr/bin/env bash
# The installer and uninstaller under Wine: a silent install into a
# temporary folder; its files, Start menu shortcuts and installed-programs
# entry; one run of the installed kelrun, which sets the sample's PNG; a
# silent uninstall while the installed kel runs, which must close kel first
# and then remove the files, shortcuts, entry, options key and autorun value
# (kel's exit writes them again) and leave the user's list and pictures
# alone. The
# prefix's options key, autorun value and desktop wallpaper are saved first
# and put back after.
#   tests/installer/test-package.sh SETUP.EXE VERSION
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
setup=$1
version=$2
source "$here/scripts/wine-env.sh"

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
# Wine's reg; its failures show as missing values.
reg() { /usr/lib/wine/wine64 reg "$@" </dev/null 2>/dev/null | tr -d '\r' || true; }
key_exists() { /usr/lib/wine/wine64 reg query "$1" </dev/null >/dev/null 2>&1; }
# The data of a string or number value, or nothing when it is missing.
value() { reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
# The work folder is on the prefix's drive C:, as a user's folders are.
windows_path() { echo "C:$(echo "${1#"$WINEPREFIX"/drive_c}" | tr '/' '\\')"; }
# The uninstaller runs on from a copy of itself: wait until it is done.
wait_until() {
  for _ in $(seq 1200); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

options='HKCU\Software\Orvik\Seltane'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Seltane'
desktop='HKCU\Control Panel\Desktop'
work=$(mktemp -d -p "$WINEPREFIX/drive_c" seltane-package-test.XXXXXX)
saved_autorun=$(value "$run_key" Seltane)
saved_wallpaper=$(value "$desktop" Wallpaper)
reg export "$options" "$(windows_path "$work/options.reg")" /y >/dev/null
restore() {
  reg delete "$options" /f >/dev/null
  [ -s "$work/options.reg" ] && reg import "$(windows_path "$work/options.reg")" >/dev/null
  if [ -n "$saved_autorun" ]; then
    reg add "$run_key" /v Seltane /d "$saved_autorun" /f >/dev/null
  else
    reg delete "$run_key" /v Seltane /f >/dev/null
  fi
  reg add "$desktop" /v Wallpaper /d "$saved_wallpaper" /f >/dev/null
  rm -rf "$work"
}
trap restore EXIT

install="$work/Seltane"
install_win=$(windows_path "$install")
pictures="$work/pictures"
"$here/scripts/make-sample.sh" "$pictures" "$(windows_path "$pictures")" >/dev/null
# The first five pictures count as shown: the next in sequence is sun.png,
# with transparency.
printf ';kel random file\r\n;Don'"'"'t modify this file\r\n8\r\n11111000' >"$pictures/default.rnd"
list_sum=$(md5sum "$pictures/default.lst" "$pictures"/*.jpg "$pictures"/*.bmp)

echo "== Silent install into $install_win"
/usr/lib/wine/wine "$setup" /S "/D=$install_win" </dev/null || fail "the installer ended with $?"
for file in kel.exe kelrun.exe common.dll main.dll readme.htm uninstall.exe; do
  [ -f "$install/$file" ] || fail "$file was not installed"
done
programs=$(/usr/lib/wine/wine64 winepath -u "$(value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)" </dev/null 2>/dev/null)
shortcuts="$programs/Seltane"
# A shortcut keeps its target, arguments and working folder as UTF-16 text.
shortcut_text() { tr -d '\000' <"$shortcuts/$1"; }
shortcut_text Seltane.lnk | grep -qF "$install_win\\kel.exe" || fail "no shortcut to kel"
shortcut_text "Next wallpaper.lnk" | grep -qF "$install_win\\kelrun.exe" || fail "no shortcut to kelrun"
shortcut_text "Next wallpaper.lnk" | grep -qF /forcetime || fail "Next wallpaper does not force a change"
[ "$(value "$entry" DisplayVersion)" = "$version" ] || fail "the entry's version is not $version"
[ "$(value "$entry" UninstallString)" = "\"$install_win\\uninstall.exe\"" ] || fail "the entry's uninstall command"
[ -n "$(value "$entry" Publisher)" ] || fail "the entry has no publisher"
[ "$(value "$entry" EstimatedSize)" != 0x0 ] || fail "the entry has no size"

echo "== The installed kelrun changes the wallpaper"
cat >"$work/options-for-kelrun.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Orvik\\Seltane]
"WallpaperList"="$(windows_path "$pictures/default.lst" | sed 's/\\/\\\\/g')"
"ChangeDays"=dword:00000001
"RandomType"=dword:00000002
"AutoRunUser"=dword:00000001
"LastChangeTime"=hex:00,00,00,00,00,00,00,00

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]
"Seltane"="$(echo "$install_win\\kelrun.exe" | sed 's/\\/\\\\/g')"
EOF
reg import "$(windows_path "$work/options-for-kelrun.reg")" >/dev/null
reg delete "$desktop" /v Wallpaper /f >/dev/null
# An error would wait in a message box: give up on it after a while.
timeout 120 /usr/lib/wine/wine "$install/kelrun.exe" /forcetime </dev/null || fail "kelrun ended with $?"
value "$options" LastWallpaper | grep -qF "$(windows_path "$pictures")\\sun.png" || fail "kelrun set no wallpaper"
value "$desktop" Wallpaper | grep -qF 'Seltane\Wallpaper-' || fail "kelrun's common.dll composed no wallpaper"

echo "== Silent uninstall while kel runs"
echo "user's rules" >"$install/dims.dat"
# The helper answers kel's message box about that dims.dat and returns once
# kel's main window is up, leaving kel running.
starter="$(cd "$(dirname "$setup")/../tools" && pwd)/start-answering.exe"
(cd "$install" && timeout 180 /usr/lib/wine/wine "$starter" SeltaneMainWindow 120 \
  "\"$install_win\\kel.exe\"" </dev/null >/dev/null) || fail "kel did not start"
/usr/lib/wine/wine "$install/uninstall.exe" /S </dev/null || fail "the uninstaller ended with $?"
gone() { [ ! -e "$install/uninstall.exe" ] && ! key_exists "$entry"; }
wait_until gone || fail "the uninstaller did not finish"
for file in kel.exe kelrun.exe common.dll main.dll readme.htm uninstall.exe; do
  [ ! -e "$install/$file" ] || fail "$file is left"
done
[ ! -e "$shortcuts" ] || fail "the Start menu shortcuts are left"
! key_exists "$options" || fail "the options key is left"
[ -z "$(value "$run_key" Seltane)" ] || fail "the autorun value is left"
[ -f "$install/dims.dat" ] || fail "the user's dims.dat in the program folder was removed"
[ "$(md5sum "$pictures/default.lst" "$pictures"/*.jpg "$pictures"/*.bmp)" = "$list_sum" ] ||
  fail "the list or the pictures changed"

[ $failures = 0 ] && echo "Package test passed" || echo "Package test: $failures failures"
exit $((failures > 0))
