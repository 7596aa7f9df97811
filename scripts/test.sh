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

# First what the Windows tests need: the host tools, the pictures and the Windows build that runs
# here, while the lanes start. Where Wine runs 32-bit code that is the shipped build; elsewhere
# its 64-bit twin, and the shipped program is still built and checked.
phase "the packages are in place"
make --no-print-directory host art HOST_TARGETS="artc formc bmp2rgn" || failed=$((failed + 1))
phase "the host tools and the pictures are built"
if [ "$WINE_BITS" = 32 ]; then
  windows=windows
else
  echo "Wine runs no 32-bit code here: the Windows tests run the 64-bit build"
  windows=windows64
fi
later=$(mktemp -d)
# Below the lanes' start, which mostly waits on Wine and gives the build its time back.
nice -n 10 make --no-print-directory $windows HOST_TARGETS="artc formc bmp2rgn" \
  TARGETS=windows_tests >"$later/windows.log" 2>&1 &
windows_build=$!

unset DISPLAY
# Three lanes: the tests that use a display run three at a time, each on its own display and Wine.
lanes=3
winenv_start_lanes $lanes && lanes_up=1 || lanes_up=0
[ $lanes_up = 1 ] && trap winenv_stop_lanes EXIT
wait $windows_build || failed=$((failed + 1))
cat "$later/windows.log"
# The lanes' long-lived programs, now that they are built.
[ $lanes_up = 1 ] && winenv_start_lane_keepers
phase "the Windows build that runs here is built and the lanes are up"

# The rest (the host tests, the shipped program where it is not the one tested, the benchmarks)
# is built beside the Windows tests, which mostly wait on Wine, the X server and the characters'
# walking: at the lowest priority it takes only the time they leave.
(
  nice -n 19 make --no-print-directory host || exit 1
  nice -n 19 make --no-print-directory $windows HOST_TARGETS="artc formc bmp2rgn" || exit 1
  [ "$WINE_BITS" = 32 ] || nice -n 19 make --no-print-directory windows TARGETS=tivolu
) >"$later/rest.log" 2>&1 &
rest=$!

if [ $lanes_up = 1 ]; then
  run_ctest "$WIN_BUILD" --resource-spec-file "$TIVOLU_LANES/lanes.json" -j$((lanes + 1)) -LE shipped
  phase "the Windows tests have run"
else
  failed=$((failed + 1))
fi

wait $rest || failed=$((failed + 1))
cat "$later/rest.log"
rm -rf "$later"
phase "the host tests and the shipped program are built"
run_ctest build/host
[ $lanes_up = 1 ] &&
  run_ctest "$WIN_BUILD" --resource-spec-file "$TIVOLU_LANES/lanes.json" -L shipped

elapsed=$(( $(date +%s) - test_start ))
echo "$passed passed, $failed failed in $((elapsed / 60)) min $((elapsed % 60)) s"
[ "$failed" -eq 0 ]
