#!/usr/bin/env bash
# Runs every test: host tests natively, then Windows and end-to-end tests under Wine on private
# Xvfb displays. Ends with one summary line and a non-zero status on any failure.
set -uo pipefail
source "$(dirname "$0")/winenv.sh"
cd "$ROOT"

passed=0 failed=0
# When `make test` began (or this script did); each phase says how long after that it ends.
test_start=${TIVOLU_TEST_START:-$(date +%s)}
phase() { echo "== $(( $(date +%s) - test_start )) s: $*"; }
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

# First what the end-to-end tests need: the host tools, the pictures, and of the Windows build
# that runs here the program and the tests' helpers. Where Wine runs 32-bit code that is the
# shipped build; elsewhere its 64-bit twin, and the shipped program is still built and checked.
phase "the packages are in place"
make --no-print-directory host art HOST_TARGETS="artc formc bmp2rgn" || failed=$((failed + 1))
phase "the host tools and the pictures are built"
if [ "$WINE_BITS" = 32 ]; then
  windows=windows
else
  echo "Wine runs no 32-bit code here: the Windows tests run the 64-bit build"
  windows=windows64
fi
make --no-print-directory $windows HOST_TARGETS="artc formc bmp2rgn" \
  TARGETS="tivolu keeper probe marker traydemo" || failed=$((failed + 1))
phase "the program and the end-to-end tests' helpers are built"

# The rest is built beside the end-to-end tests, which mostly wait on Wine, the X server and the
# characters' walking: the Windows test programs first, then at the lowest priority the host tests
# and the shipped program where it is not the one tested.
# One build at a time (they share the host tools' build): its steps report to files in $later.
later=$(mktemp -d)
(
  nice -n 10 make --no-print-directory $windows HOST_TARGETS="artc formc bmp2rgn" \
    >"$later/tests.log" 2>&1
  echo $? >"$later/tests.status"
  nice -n 19 make --no-print-directory host || exit 1
  [ "$WINE_BITS" = 32 ] || nice -n 19 make --no-print-directory windows TARGETS=tivolu
) >"$later/rest.log" 2>&1 &
later_pid=$!
# Waits for the Windows test programs; prints their build's output; false if it failed.
test_programs_built() {
  while [ ! -s "$later/tests.status" ] && kill -0 $later_pid 2>/dev/null; do sleep 1; done
  cat "$later/tests.log"
  [ "$(cat "$later/tests.status" 2>/dev/null)" = 0 ]
}

unset DISPLAY
# Three lanes: the tests that use a display run three at a time, each on its own display and Wine.
lanes=3
if winenv_start_lanes $lanes; then
  trap winenv_stop_lanes EXIT
  run_ctest "$WIN_BUILD" --resource-spec-file "$TIVOLU_LANES/lanes.json" -j$((lanes + 1)) \
    -L e2e -LE shipped
  phase "the end-to-end tests have run"
  test_programs_built || failed=$((failed + 1))
  phase "the Windows test programs are built"
  run_ctest "$WIN_BUILD" --resource-spec-file "$TIVOLU_LANES/lanes.json" -j$((lanes + 1)) \
    -LE 'e2e|shipped'
  phase "the Windows tests have run"
else
  failed=$((failed + 1))
fi

wait $later_pid || failed=$((failed + 1))
cat "$later/rest.log"
rm -rf "$later"
phase "the host tests and the shipped program are built"
run_ctest build/host
[ -n "${TIVOLU_LANES:-}" ] &&
  run_ctest "$WIN_BUILD" --resource-spec-file "$TIVOLU_LANES/lanes.json" -L shipped

elapsed=$(( $(date +%s) - test_start ))
echo "$passed passed, $failed failed in $((elapsed / 60)) min $((elapsed % 60)) s"
[ "$failed" -eq 0 ]
