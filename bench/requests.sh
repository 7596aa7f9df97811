#!/usr/bin/env bash
# Round trips to Wine's server per window move, of the running program and of its floor
# (bench_win_floor.exe, see bench/cpu.sh), while the pointer rounds a circle: under Wine they are
# most of what walking costs, and unlike CPU time they do not depend on how busy the machine is.
# Runs each subject on a Wine server that traces every request (wineserver -d1), counts its main
# thread's requests by name over BENCH_SECONDS (default 8) s of walking, and prints them per
# window move (a set_window_pos that moves), then the totals' ratio. Prints figures; asserts
# nothing. Own Xvfb display and Wine prefix (build/wineprefix-bench), as bench/cpu.sh.
set -uo pipefail
cd "$(dirname "$0")/.."
export TIVOLU_WINEPREFIX=$PWD/build/wineprefix-bench
source scripts/winenv.sh
cd "$ROOT"

SECONDS_TRACED=${BENCH_SECONDS:-8}
SUBJECT=${BENCH_TIVOLU:-$TIVOLU_RUN_EXE}
for file in "$SUBJECT" "$WIN_BUILD/bench_win_floor.exe" "$WIN_BUILD/bench_win_mover.exe"; do
  [ -f "$file" ] || { echo "not built: $file; run make first" >&2; exit 1; }
done
# Copies, as in bench/cpu.sh (the program's under a name of its own).
PROGRAMS=$(mktemp -d)
cp "$SUBJECT" "$PROGRAMS/subject.exe"
cp "$WIN_BUILD/bench_win_floor.exe" "$WIN_BUILD/bench_win_mover.exe" "$PROGRAMS/"
TRACE=$PROGRAMS/trace.txt
SERVER_PID="" MOVER_PID="" PROGRAM_PID=""

cleanup() {
  [ -z "$PROGRAM_PID" ] || kill "$PROGRAM_PID" 2>/dev/null
  [ -z "$MOVER_PID" ] || kill "$MOVER_PID" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$PROGRAMS"
}
trap cleanup EXIT

winenv_start_xvfb || exit 1
winenv_locale
wineserver -k >/dev/null 2>&1
winenv_prefix

# per_move FILE: the requests of FILE per window move, most frequent first, then "total N".
per_move() {
  awk 'match($0, /^[0-9a-f]+: [a-z_]+\( /) {
         name = substr($0, RSTART, RLENGTH); sub(/^[0-9a-f]+: /, "", name); sub(/\( $/, "", name)
         count[name]++; total++
         # A move: set_window_pos without SWP_NOMOVE (bit 1 of the flags).
         if (name == "set_window_pos" && match($0, /swp_flags=[0-9a-f]+/)) {
           last = substr($0, RSTART + RLENGTH - 1, 1)
           if ((index("0123456789abcdef", last) - 1) % 4 < 2) moves++
         }
       }
       END { if (!moves) exit 1
             for (name in count) printf "%8.2f %s\n", count[name] / moves, name
             printf "%8.2f total (%d moves)\n", total / moves, moves }' "$1" | sort -rn
}

# trace NAME EXE: the requests per move of EXE's main thread while walking, into $PROGRAMS/NAME.
trace() {
  local name=$1 exe=$2 start end thread
  wineserver -f -d1 -p 2>"$TRACE" &
  SERVER_PID=$!
  sleep 1
  wine "$PROGRAMS/bench_win_mover.exe" still 520 120 >/dev/null 2>&1 &
  MOVER_PID=$!
  wine "$exe" >/dev/null 2>&1 &
  PROGRAM_PID=$!
  sleep 20 # start-up, and the characters reach the pointer
  kill "$MOVER_PID"
  wait "$MOVER_PID" 2>/dev/null
  wine "$PROGRAMS/bench_win_mover.exe" >/dev/null 2>&1 &
  MOVER_PID=$!
  sleep 3 # the characters get going
  start=$(stat -c %s "$TRACE")
  sleep "$SECONDS_TRACED"
  end=$(stat -c %s "$TRACE")
  # The main thread: the first one of the subject's process.
  thread=$(grep -m1 "init_first_thread( unix_pid=$PROGRAM_PID," "$TRACE" | cut -d: -f1)
  tail -c +$((start + 1)) "$TRACE" | head -c $((end - start)) | grep "^$thread: " >"$PROGRAMS/$name.requests"
  per_move "$PROGRAMS/$name.requests" >"$PROGRAMS/$name" || echo "0 total (no moves)" >"$PROGRAMS/$name"
  kill "$PROGRAM_PID" "$MOVER_PID" 2>/dev/null
  wait "$PROGRAM_PID" "$MOVER_PID" 2>/dev/null
  PROGRAM_PID="" MOVER_PID=""
  wineserver -k >/dev/null 2>&1
  wait "$SERVER_PID" 2>/dev/null
}

trace tivolu "$PROGRAMS/subject.exe"
trace floor "$PROGRAMS/bench_win_floor.exe"
echo "Requests to Wine's server per window move, over ${SECONDS_TRACED} s of walking (main thread)."
printf '%-40s | %s\n' "tivolu.exe" "floor"
paste -d'|' <(awk '{ printf "%-40s\n", $0 }' "$PROGRAMS/tivolu") "$PROGRAMS/floor" | sed 's/|/ | /'
awk 'FNR == 1 { file++ } $2 == "total" { total[file] = $1 }
     END { if (total[2] > 0) printf "requests per move: tivolu / floor = %.2f\n", total[1] / total[2] }' \
  "$PROGRAMS/tivolu" "$PROGRAMS/floor"
