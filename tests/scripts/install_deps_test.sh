#!/usr/bin/env bash
# The install step's decisions, with the package commands replaced by stand-ins on PATH: no
# network, no root, nothing installed for real.
set -uo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $case: $*"; failures=$((failures + 1)); }

# The stand-ins keep their state in $STUB: installed (one package a line, or "all": every one
# but those in absent), arches, uninstallable (packages apt-get cannot install), update_fail, and
# log (every command run).
mkdir -p "$work/bin"
cat >"$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
pkg=$(eval echo \${$#})
[ -e "$STUB/absent" ] && grep -qxF "$pkg" "$STUB/absent" && exit 0
if grep -qx all "$STUB/installed" || grep -qxF "$pkg" "$STUB/installed"; then
  printf 'install ok installed'
fi
STUB
cat >"$work/bin/dpkg" <<'STUB'
#!/bin/sh
case $1 in
  --print-foreign-architectures) cat "$STUB/arches" ;;
  *) echo "dpkg $*" >>"$STUB/log"; [ "$1" = --add-architecture ] && echo "$2" >>"$STUB/arches" ;;
esac
STUB
cat >"$work/bin/apt-get" <<'STUB'
#!/bin/sh
echo "apt-get $*" >>"$STUB/log"
if [ "$1" = update ]; then
  [ -e "$STUB/update_fail" ] && { echo "E: Some index files failed to download." >&2; exit 100; }
  exit 0
fi
simulate=0
pkgs=""
for a in "$@"; do
  case $a in install|-y|-q|--no-install-recommends) ;; -s) simulate=1 ;; *) pkgs="$pkgs $a" ;; esac
done
for p in $pkgs; do
  grep -qxF "$p" "$STUB/uninstallable" && { echo "E: Unable to locate package $p" >&2; exit 100; }
done
[ $simulate = 1 ] || for p in $pkgs; do echo "$p" >>"$STUB/installed"; done
exit 0
STUB
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work"/bin/*

# run CASE RUNS_32BIT: a fresh state; the caller seeds it through $STUB before calling go.
new_case() {
  case=$1
  export STUB=$work/$case
  mkdir -p "$STUB"
  : >"$STUB/installed"; : >"$STUB/arches"; : >"$STUB/uninstallable"; : >"$STUB/log"
}
go() {
  PATH=$work/bin:$PATH TIVOLU_RUNS_32BIT=$1 TIVOLU_APT_PAUSE=0 bash "$script" >"$STUB/out" 2>&1
  status=$?
}
installed() { grep -qxF "$1" "$STUB/installed"; }

new_case update_fails_for_one_index
touch "$STUB/update_fail"
go 1
[ $status = 0 ] || fail "exit $status"
[ "$(grep -c 'apt-get update' "$STUB/log")" = 3 ] || fail "update not retried three times"
installed wine32:i386 && installed xdotool || fail "the install did not run after the update"
installed libxinerama1:i386 || fail "the 32-bit Wine came without its X extensions"

new_case wine32_not_installable
echo wine32:i386 >"$STUB/uninstallable"
go 1
[ $status = 0 ] || fail "exit $status"
installed wine64 && installed wine && installed mingw-w64 || fail "the rest was not installed"
grep -q '64-bit build' "$STUB/out" || fail "no line saying the 64-bit build is used"
grep -qx i386 "$STUB/arches" || fail "i386 not added on a kernel that runs 32-bit code"

new_case missing_package_fails_with_its_name
echo xdotool >"$STUB/uninstallable"
go 1
[ $status != 0 ] || fail "exit 0 although xdotool cannot be installed"
grep -q 'cannot install: xdotool$' "$STUB/out" || fail "the message does not name xdotool alone"

new_case no_32bit_kernel
go 0
[ $status = 0 ] || fail "exit $status"
grep -q add-architecture "$STUB/log" && fail "i386 added on a kernel without 32-bit code"
grep -q ':i386$' "$STUB/installed" && fail "i386 packages installed on a kernel without 32-bit code"
installed wine64 || fail "wine64 not installed"

new_case wine32_there_without_its_x_extensions
echo all >"$STUB/installed"
printf '%s\n' libxinerama1:i386 libxrender1:i386 >"$STUB/absent"
echo i386 >"$STUB/arches"
go 1
[ $status = 0 ] || fail "exit $status"
grep -qx 'apt-get install .* libxinerama1:i386 libxrender1:i386' "$STUB/log" ||
  fail "not the two missing X extensions installed: $(cat "$STUB/log")"

new_case nothing_to_install
echo all >"$STUB/installed"
go 1
[ $status = 0 ] || fail "exit $status"
[ -s "$STUB/log" ] && fail "package commands ran: $(cat "$STUB/log")"

[ $failures = 0 ] && echo "install step: all cases passed"
[ $failures = 0 ]
