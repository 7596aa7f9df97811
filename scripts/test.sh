#!/usr/bin/env bash
# Runs every test: host tests natively, then Windows and end-to-end tests under Wine on a private
# Xvfb display. Ends with one summary line and a non-zero status on any failure.
set -uo pipefail
source "$(dirname "$0")/winenv.sh"
cd "$ROOT"

passed=0 failed=0
run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -j2 2>&1 | tee "$log"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
  else
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad)); failed=$((failed + bad))
  fi
  rm -f "$log"
}

run_ctest build/host

unset DISPLAY
if [ "$WINE_BITS" = 64 ]; then
  echo "this machine runs no 32-bit code: the Windows tests run the 64-bit build"
  make --no-print-directory windows64 || failed=$((failed + 1))
fi
if winenv_start virtual; then
  trap winenv_stop EXIT
  run_ctest "$WIN_BUILD"
else
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
