#!/usr/bin/env bash
# Runs every test: host tests natively, then Windows and end-to-end tests under Wine on a private
# Xvfb display. Ends with one summary line and a non-zero status on any failure.
set -uo pipefail
source "$(dirname "$0")/winenv.sh"
cd "$ROOT"

passed=0 failed=0
run_ctest() {
  local dir=$1 log
  shift
  log=$(mktemp)
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -j2 "$@" 2>&1 | tee "$log"
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

# Where Wine runs 32-bit code the shipped build is tested; elsewhere the shipped program is still
# built, and its 64-bit twin with every test program.
make --no-print-directory host art || failed=$((failed + 1))
if [ "$WINE_BITS" = 32 ]; then
  make --no-print-directory windows || failed=$((failed + 1))
else
  echo "Wine runs no 32-bit code here: the Windows tests run the 64-bit build"
  make --no-print-directory windows TARGETS=tivolu || failed=$((failed + 1))
  make --no-print-directory windows64 || failed=$((failed + 1))
fi
run_ctest build/host

unset DISPLAY
# Two lanes: the tests that use a display run two at a time, each on its own display and Wine.
if winenv_start_lanes 2; then
  trap winenv_stop_lanes EXIT
  run_ctest "$WIN_BUILD" --resource-spec-file "$ROOT/scripts/lanes.json" -j3
else
  failed=$((failed + 1))
fi

# The time since `make test` began (or since this script did).
elapsed=$(( $(date +%s) - ${TIVOLU_TEST_START:-$(( $(date +%s) - SECONDS ))} ))
echo "$passed passed, $failed failed in $((elapsed / 60)) min $((elapsed % 60)) s"
[ "$failed" -eq 0 ]
