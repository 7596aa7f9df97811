#!/usr/bin/env bash
# Installs what building and testing need, on Debian 12. Quick when all is present.
#
# It steps around what the build can do without: where the kernel runs no 32-bit code, or the
# mirror cannot give the 32-bit Wine right now (a mirror mid-sync breaks one index, and wine32's
# libraries must match the 64-bit ones' versions exactly), it installs the rest with the 64-bit
# Wine and the tests run the 64-bit build (scripts/winenv.sh). Anything else missing fails, naming
# the package.
#
# Stand-ins for tests: the package commands are looked up on PATH; TIVOLU_RUNS_32BIT=1|0 replaces
# the kernel check, TIVOLU_APT_PAUSE the pause between update attempts.
set -uo pipefail

packages=(
  g++ make cmake ninja-build googletest lld
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64
  xvfb xserver-xephyr xdotool x11-utils x11-apps imagemagick
  fonts-ipafont-gothic locales python3 python3-xlib
  oneko
)
# The 32-bit Wine with the X extensions its X11 driver loads when it runs (installed without
# recommends, it would go without them: one monitor where Xinerama or RandR shows two, no XRender
# drawing, no XInput2), as the 64-bit Wine has them here.
wine32=(wine32:i386 libxinerama1:i386 libxrandr2:i386 libxrender1:i386 libxcursor1:i386
  libxi6:i386 libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386)

# Executes a 93-byte i386 program that only exits 0: a kernel without IA-32 emulation refuses it.
runs_32bit() {
  [ -n "${TIVOLU_RUNS_32BIT:-}" ] && { [ "$TIVOLU_RUNS_32BIT" = 1 ]; return; }
  local dir status
  dir=$(mktemp -d) || return 1
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$dir/exit0"
  chmod +x "$dir/exit0"
  "$dir/exit0" 2>/dev/null
  status=$?
  rm -rf "$dir"
  return $status
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

want32=0
if runs_32bit; then
  want32=1
  packages+=("${wine32[@]}")
fi
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_install() {
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "$@"
}

echo "installing: ${missing[*]}"
if [ $want32 = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
# An update that fails for some indexes (a mirror mid-sync) leaves the others fresh: after a few
# tries go on with what there is; the install tells whether it was enough.
for attempt in 1 2 3; do
  $sudo apt-get update -q && break
  if [ $attempt -lt 3 ]; then
    echo "apt-get update failed (attempt $attempt of 3), trying again"
    sleep "${TIVOLU_APT_PAUSE:-5}"
  else
    echo "apt-get update failed for some indexes: going on with the lists it has"
  fi
done

apt_install "${missing[@]}" && exit 0

rest=()
for p in "${missing[@]}"; do [[ " ${wine32[*]} " == *" $p "* ]] || rest+=("$p"); done
if [ ${#rest[@]} -lt ${#missing[@]} ]; then
  if [ ${#rest[@]} -eq 0 ] || apt_install "${rest[@]}"; then
    echo "the 32-bit Wine cannot be installed now: installed the rest; the tests run the 64-bit build"
    exit 0
  fi
fi

# Name what cannot be had: a simulated install of each package alone.
bad=()
for p in "${rest[@]}"; do
  $sudo apt-get install -s -q --no-install-recommends "$p" >/dev/null 2>&1 || bad+=("$p")
done
[ ${#bad[@]} -gt 0 ] || bad=("${rest[@]}")
echo "cannot install: ${bad[*]}" >&2
exit 1
