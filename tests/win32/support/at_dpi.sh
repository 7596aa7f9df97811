#!/usr/bin/env bash
# Runs a command with the Wine prefix set to another screen resolution: at_dpi.sh DPI COMMAND...
#
# Wine takes its DPI from the prefix, as winecfg's "Screen resolution" sets it: the DWORD
# LogPixels under HKEY_CURRENT_USER\Control Panel\Desktop (read first) and under
# HKEY_CURRENT_CONFIG\Software\Fonts. Each program reads them when it starts. The prefix is shared
# with the tests that run before and after in the lane, so the previous values come back however
# the command ends. TIVOLU_TEST_DPI tells the command which DPI it was started for.
set -u
dpi=$1
shift
keys=('HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts')
saved=()
for key in "${keys[@]}"; do
  saved+=("$(wine reg query "$key" /v LogPixels 2>/dev/null | tr -d '\r' |
    awk '$1 == "LogPixels" { print $3 }')")
done
restore() {
  local i
  for i in "${!keys[@]}"; do
    if [ -n "${saved[$i]}" ]; then
      wine reg add "${keys[$i]}" /v LogPixels /t REG_DWORD /d "$((saved[i]))" /f >/dev/null 2>&1
    else
      wine reg delete "${keys[$i]}" /v LogPixels /f >/dev/null 2>&1
    fi
  done
}
trap restore EXIT
trap 'exit 130' INT TERM
# A start of reg can fail on a busy machine: it is tried again before the run counts as failed.
set_dpi() {
  local try
  for try in 1 2 3; do
    wine reg add "$1" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 && return 0
    sleep 0.5
  done
  echo "cannot set LogPixels under $1" >&2
  return 1
}
for key in "${keys[@]}"; do set_dpi "$key" || exit 1; done
TIVOLU_TEST_DPI=$dpi "$@"
