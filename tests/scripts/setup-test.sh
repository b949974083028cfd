#!/usr/bin/env bash
# scripts/setup.sh against an archive that is partly in sync, without a
# network and without touching the system: stand-ins for apt-get, apt-cache,
# apt-config, dpkg, dpkg-query and sudo come first on PATH. apt-get update
# fails for one index; apt-get install answers "held broken packages" except
# for the arguments named in STANDIN_INSTALL_WORKS_WITH.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin=$work/bin
mkdir -p "$bin" "$work/etc/sources.list.d"
echo 'Types: deb deb-src' >"$work/etc/sources.list.d/debian.sources"

cat >"$bin/apt-get" <<'EOF'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STANDIN_LOG"
case "$*" in
  *update*)
    [ -n "${STANDIN_NO_LISTS:-}" ] && : >"$STANDIN_NO_LISTS"
    echo "Err:5 http://deb.example/debian-security bookworm-security/main i386 Packages"
    echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
esac
if [ -n "${STANDIN_INSTALL_WORKS_WITH:-}" ] && [[ " $* " == *" $STANDIN_INSTALL_WORKS_WITH "* ]]; then
  exit 0
fi
echo "The following packages have unmet dependencies:"
echo " libssl3:i386 : Depends: libc6:i386 but it is not going to be installed"
echo "E: Unable to correct problems, you have held broken packages."
exit 100
EOF
cat >"$bin/apt-cache" <<'EOF'
#!/usr/bin/env bash
case "$1" in
  depends) printf 'wine32:i386\n  Depends: libssl3:i386\nlibssl3:i386\nzlib1g:i386\n<virtual:i386>\n' ;;
  policy)
    shift
    if [ $# = 0 ]; then
      [ -e "${STANDIN_NO_LISTS:-/nonexistent}" ] || echo " 500 http://deb.example/debian bookworm/main amd64 Packages"
      exit 0
    fi
    for p in "$@"; do
      echo "$p:"
      case "$p" in
        libssl3:i386) printf '  Candidate: 3.0.1-1\n  Version table:\n     3.0.2-1 500\n     3.0.1-1 500\n' ;;
        zlib1g:i386) printf '  Candidate: 1:1.2-1\n  Version table:\n     1:1.4-1 500\n     1:1.2-1 500\n' ;;
        zlib1g:amd64) printf '  Candidate: 1:1.3-1\n  Version table:\n     1:1.4-1 500\n *** 1:1.3-1 100\n' ;;
        *) printf '  Candidate: 3.0.2-1\n  Version table:\n *** 3.0.2-1 100\n' ;;
      esac
    done ;;
esac
EOF
cat >"$bin/apt-config" <<EOF
#!/usr/bin/env bash
echo "apt_etc='$work/etc/'"
EOF
cat >"$bin/dpkg" <<'EOF'
#!/usr/bin/env bash
case "$1" in
  --print-foreign-architectures) echo i386 ;;
  --print-architecture) echo amd64 ;;
  --compare-versions) exec /usr/bin/dpkg "$@" ;;
  *) echo "stand-in dpkg: unexpected $*" >&2; exit 1 ;;
esac
EOF
cat >"$bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
case "$*" in
  *Status-Abbrev*) printf 'libssl3 3.0.2-1 same ii \nzlib1g 1:1.3-1 same ii \n' ;;
  *) exit 1 ;;
esac
EOF
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$bin/sudo"
chmod +x "$bin"/*

failures=0
# run NAME EXPECTED-STATUS [VAR=VALUE...]: runs the set-up; then the checks.
run() {
  local name=$1 expected=$2 status=0
  shift 2
  : >"$work/calls"
  env PATH="$bin:$PATH" STANDIN_LOG="$work/calls" SELTANE_APT_RETRY_PAUSE=0 "$@" \
    "$here/scripts/setup.sh" --packages-only >"$work/out" 2>&1 || status=$?
  current=$name
  if [ "$status" != "$expected" ]; then
    fail "exit status $status, expected $expected"
  fi
}
fail() {
  echo "FAILED: $current: $1"
  sed 's/^/  | /' "$work/out"
  failures=$((failures + 1))
}
says() { grep -qF -- "$1" "$work/out" || fail "the output lacks: $1"; }
called() { grep -qF -- "$1" "$work/calls" || fail "apt-get was never called with: $1"; }

run "every attempt fails" 1
says "going on without the indexes that failed to download: http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
[ "$(grep -c update "$work/calls")" = 3 ] || fail "apt-get update was not tried three times"
called "install -y -q --no-install-recommends -t bookworm"
called "libssl3:i386=3.0.2-1"
called "zlib1g:amd64=1:1.4-1 zlib1g:i386=1:1.4-1"
says "Setup stopped: the 32-bit and 64-bit packages could not be installed side by side."
says "Packages that conflict: libssl3:i386 zlib1g:i386"
says "sudo apt-get update && sudo apt-get install -t bookworm"
says "-- Installing"

run "the release as target works" 0 STANDIN_INSTALL_WORKS_WITH=bookworm
says "Packages installed by targeting the release bookworm"
grep -qF "libssl3:i386=" "$work/calls" && fail "went on trying after an attempt worked"

run "the pinned 32-bit versions work" 0 STANDIN_INSTALL_WORKS_WITH=libssl3:i386=3.0.2-1
says "Packages installed with the 32-bit packages at their 64-bit twins' versions."

run "no package list at all" 1 STANDIN_NO_LISTS="$work/no-lists"
says "Setup stopped: apt-get update read no package list at all"
grep -qF install "$work/calls" && fail "tried to install without package lists"

if [ $failures = 0 ]; then echo "setup-test: every check passed"; else echo "setup-test: $failures checks failed"; fi
[ $failures = 0 ]
