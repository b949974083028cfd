#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine and
# builds the third-party libraries once. Safe to run again: every step checks
# first whether it is already done. `setup.sh --packages-only` installs the
# Debian packages and stops there.
#
# The archive may be partly in sync: an index that fails to download is
# skipped when others were read, and where the 32-bit packages cannot be
# installed beside the 64-bit ones (a Multi-Arch pair must have one version),
# the install is tried again in ways that make the two architectures agree.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/steps.sh"

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(
  cmake make nasm dpkg-dev googletest clang libclang-rt-14-dev clang-format
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386 xvfb xauth imagemagick xdotool x11-utils fonts-wine nsis
)
update_attempts=${SELTANE_APT_ATTEMPTS:-3}
retry_pause=${SELTANE_APT_RETRY_PAUSE:-20}
logs=$(mktemp -d "${TMPDIR:-/tmp}/seltane-setup.XXXXXX")
trap 'rm -rf "$logs"' EXIT

# apt-get update, a few times with a pause while any index fails. Goes on
# with what was fetched where some indexes still fail, naming them in one
# line; fails only when no package list can be read at all.
update_package_lists() {
  local attempt status
  for ((attempt = 1; attempt <= update_attempts; attempt++)); do
    status=0
    as_root apt-get update -q >"$logs/update.log" 2>&1 || status=$?
    [ $status = 0 ] && return 0
    if [ $attempt -lt "$update_attempts" ]; then
      echo "apt-get update failed (exit $status, attempt $attempt of $update_attempts); again in $retry_pause s"
      sleep "$retry_pause"
    fi
  done
  local failed
  failed=$(grep -oE 'Failed to fetch [^ ]+' "$logs/update.log" | cut -d' ' -f4 | sort -u | tr '\n' ' ' || true)
  if ! apt-cache policy 2>/dev/null | grep -qE ' Packages$'; then
    cat "$logs/update.log"
    echo "Setup stopped: apt-get update read no package list at all (exit $status). Check the network and /etc/apt/sources.list.d, then run this again."
    return 1
  fi
  echo "apt-get update: going on without the indexes that failed to download: ${failed:-(see below)}"
  [ -n "$failed" ] || tail -n 5 "$logs/update.log"
  return 0
}

# One install attempt; its output is shown and kept in $logs/install.log.
# Returns 0 on success, 2 when apt could not resolve the dependencies (the
# case the fallbacks are for), 1 for any other failure.
install_attempt() {
  local status=0
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" \
    2>&1 | tee "$logs/install.log" || status=${PIPESTATUS[0]}
  [ "$status" = 0 ] && return 0
  if grep -qE 'Unable to correct problems|held broken packages|unmet dependencies' "$logs/install.log"; then
    return 2
  fi
  return 1
}

# apt-cache policy's view of each package named: a line "NAME candidate
# VERSION" and a line "NAME VERSION" for every version offered, NAME as asked
# for (with its architecture where that is not the machine's own).
policy_table() {
  [ $# -gt 0 ] || return 0
  apt-cache policy "$@" 2>/dev/null | awk '
    /^[^ ].*:$/ { name = substr($0, 1, length($0) - 1); next }
    /^  Candidate: / { print name, "candidate", $2; next }
    /^     [^ ]+ [0-9]+$/ || /^ \*\*\* [^ ]+ [0-9]+$/ { print name, ($1 == "***" ? $2 : $1) }'
}

# The 32-bit packages that the requested ones need, whose 64-bit twin is
# installed at another version (Multi-Arch: same pairs must agree): sets
# `pins` (NAME:i386=VERSION, the 64-bit twin's version, where the archive
# offers it for i386), `aligns` (both architectures at the newest version
# offered for both, newer than the installed one, where it does not) and
# `mismatched` (every such package).
find_architecture_mismatches() {
  pins=() aligns=() mismatched=()
  local requested32=() p
  for p in "${missing[@]}"; do
    [[ $p == *:i386 ]] && requested32+=("$p")
  done
  [ ${#requested32[@]} -gt 0 ] || return 0
  local needed
  needed=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "${requested32[@]}" 2>/dev/null | grep -E '^[^ <].*:i386$' | sort -u || true)
  [ -n "$needed" ] || return 0
  local native twins=() installed64 name version state multiarch
  native=$(dpkg --print-architecture)
  declare -A installed=()
  for p in $needed; do twins+=("${p%:i386}:$native"); done
  installed64=$(dpkg-query -W -f='${Package} ${Version} ${Multi-Arch} ${db:Status-Abbrev}\n' "${twins[@]}" 2>/dev/null || true)
  while read -r name version multiarch state; do
    [[ $multiarch == same && ${state:-} == ii* ]] && installed[$name]=$version
  done <<<"$installed64"
  [ ${#installed[@]} -gt 0 ] || return 0
  local names=("${!installed[@]}") table32 table64
  table32=$(policy_table "${names[@]/%/:i386}")
  table64=$(policy_table "${names[@]/%/:$native}")
  for name in "${names[@]}"; do
    local mine=${installed[$name]} versions32 candidate32 common=""
    candidate32=$(awk -v n="$name:i386" '$1 == n && $2 == "candidate" { print $3 }' <<<"$table32")
    versions32=$(awk -v n="$name:i386" '$1 == n && $2 != "candidate" { print $2 }' <<<"$table32")
    [ -n "$versions32" ] || continue
    [ "$candidate32" = "$mine" ] && continue
    mismatched+=("$name")
    if grep -qxF -- "$mine" <<<"$versions32"; then
      pins+=("$name:i386=$mine")
      continue
    fi
    for version in $versions32; do
      if awk -v n="$name" -v a="$native" -v v="$version" '($1 == n || $1 == n ":" a) && $2 == v { found = 1 } END { exit !found }' <<<"$table64" &&
        dpkg --compare-versions "$version" gt "$mine" &&
        { [ -z "$common" ] || dpkg --compare-versions "$version" gt "$common"; }; then
        common=$version
      fi
    done
    [ -n "$common" ] && aligns+=("$name:$native=$common" "$name:i386=$common")
  done
  return 0
}

# Installs the missing packages: as asked, then targeting this machine's
# release, then with the 32-bit packages at their 64-bit twins' versions,
# then with the twins upgraded to a version offered for both. Says which way
# worked; when none did, names the packages that conflict and the command
# that fixes them, and fails.
install_packages() {
  local status=0 release
  install_attempt "${missing[@]}" || status=$?
  [ $status = 0 ] && return 0
  [ $status = 2 ] || { echo "Setup stopped: apt-get install failed (see above)."; return 1; }

  release=$( (source /etc/os-release && echo "${VERSION_CODENAME:-}") 2>/dev/null || true)
  if [ -n "$release" ]; then
    echo "apt-get install could not resolve the packages; trying again with the release $release as target"
    status=0
    install_attempt -t "$release" "${missing[@]}" || status=$?
    if [ $status = 0 ]; then
      echo "Packages installed by targeting the release $release (apt-get install -t $release)."
      return 0
    fi
  fi

  find_architecture_mismatches
  if [ ${#pins[@]} -gt 0 ]; then
    echo "Trying again with the 32-bit packages at their 64-bit twins' versions: ${pins[*]}"
    status=0
    install_attempt "${missing[@]}" "${pins[@]}" || status=$?
    if [ $status = 0 ]; then
      echo "Packages installed with the 32-bit packages at their 64-bit twins' versions."
      return 0
    fi
  fi
  if [ ${#aligns[@]} -gt 0 ]; then
    echo "Trying again with both architectures upgraded to a version offered for both: ${aligns[*]}"
    status=0
    install_attempt "${missing[@]}" "${pins[@]}" "${aligns[@]}" || status=$?
    if [ $status = 0 ]; then
      echo "Packages installed with the 64-bit twins upgraded to a version offered for both architectures."
      return 0
    fi
  fi

  echo
  echo "Setup stopped: the 32-bit and 64-bit packages could not be installed side by side."
  local conflicting
  conflicting=$({
    printf '%s:i386\n' "${mismatched[@]}"
    sed -nE 's/^ +([^ ]+) : .*/\1/p' "$logs/install.log"
  } | grep -v '^:i386$' | sort -u | tr '\n' ' ' || true)
  echo "Packages that conflict: ${conflicting:-(see the answer above)}"
  echo "The archive is probably still being synced. Once it is, this command installs them:"
  echo "  sudo apt-get update && sudo apt-get install -t ${release:-stable} ${missing[*]} ${aligns[*]:-}"
  return 1
}

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
apt_etc=/etc/apt/
eval "$(apt-config shell apt_etc Dir::Etc/d)"
apt_etc=${apt_etc%/}
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' "$apt_etc/sources.list" "$apt_etc/sources.list.d/"; then
  if [ -f "$apt_etc/sources.list.d/debian.sources" ]; then
    sed -E 's/^Types:.*/Types: deb-src/' "$apt_etc/sources.list.d/debian.sources" |
      as_root tee "$apt_etc/sources.list.d/seltane-deb-src.sources" >/dev/null
  else
    grep -E '^deb ' "$apt_etc/sources.list" | sed 's/^deb /deb-src /' |
      as_root tee "$apt_etc/sources.list.d/seltane-deb-src.list" >/dev/null
  fi
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  timed "apt-get update" update_package_lists
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  timed "Installing ${#missing[@]} Debian packages" install_packages
fi
[ "${1:-}" = --packages-only ] && exit 0

# 32-bit programs: some kernels run none (no IA-32 emulation). Then qemu's
# user-mode emulator runs Wine's 32-bit loader, registered as the handler of
# 32-bit x86 ELF files. The release's qemu 7.2 crashes Wine's 32-bit programs
# when two threads wait on each other (a mutex and a condition variable are
# enough), so the emulator comes from the release's backports, whose qemu 10
# runs them; only where that cannot be installed is the release's used.
qemu_binfmt=/proc/sys/fs/binfmt_misc/qemu-i386
qemu=/usr/bin/qemu-i386

qemu_runs_threads() {
  local major
  major=$("$qemu" --version 2>/dev/null | sed -nE '1s/.* version ([0-9]+)\..*/\1/p')
  [ "${major:-0}" -ge 9 ]
}

# Adds the backports suite of this release, at the address the release
# itself comes from, and installs qemu's user-mode emulators from it.
# Backports are never taken unless asked for, so nothing else changes.
install_backports_qemu() {
  local codename uri list="$apt_etc/sources.list.d/seltane-backports.list"
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  if [ ! -f "$list" ]; then
    uri=$(apt-cache policy | awk -v suite="$codename/main" '$3 == suite && / Packages$/ { print $2; exit }')
    echo "deb ${uri:-http://deb.debian.org/debian} $codename-backports main" | as_root tee "$list" >/dev/null
  fi
  update_package_lists
  install_attempt -t "$codename-backports" qemu-user
}

if [ -e "$qemu_binfmt" ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if ! qemu_runs_threads; then
    if ! timed "Installing qemu for Wine's 32-bit programs from backports" install_backports_qemu; then
      echo "qemu could not be installed from backports; the release's qemu 7.2 is used, under which 32-bit programs with threads may crash."
      install_attempt qemu-user-static
      qemu=/usr/bin/qemu-i386-static
    fi
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    as_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ -e "$qemu_binfmt" ] && ! grep -qx "interpreter $qemu" "$qemu_binfmt"; then
    echo -1 | as_root tee "$qemu_binfmt" >/dev/null
  fi
  if [ ! -e "$qemu_binfmt" ]; then
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::${magic}:${mask}:${qemu}:F" | as_root tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  echo "Wine's 32-bit programs run through $("$qemu" --version | head -n 1)"
  QEMU_RESERVED_VA=0x7fff0000 /usr/lib/wine/wine --version >/dev/null
fi

"$here/scripts/build-deps.sh"
