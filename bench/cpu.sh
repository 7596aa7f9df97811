#!/usr/bin/env bash
# The running program under Wine and Xvfb beside its floor (bench_win_floor.exe: the program's
# visible work in plain Win32, with the characters' own frames, outlines, thresholds and speeds,
# on every moving tick one region change, one move and one blit, and the tray icon; its Quarn
# chases the character the program's chased in the round before) and the native oneko. First the
# start-up of the program and of the floor, BENCH_STARTS (default 5) times each, in turn after a
# start of each not counted: the time from the start until the four windows are mapped on the X
# display (bench/shown.py, told by the X server, so that measuring takes nothing from the start
# measured). Then for each
# subject its resident memory once it has come to rest, and, for each condition, over
# BENCH_SECONDS (default 20) s, the CPU time (user + system) per second of wall time of the
# subject's own process and of Wine's server:
#   walking   the pointer rounds a circle (bench_win_mover.exe, through SetCursorPos, which moves
#             the X pointer too, for oneko)
#   standing  the pointer rests at a point the characters have reached; measured once they stand
# The mover's own cost, and the server's with only the mover running, are printed first so that
# they can be subtracted. Beside them: window moves per second, and how busy the machine was.
# BENCH_ROUNDS (default 1) repeats the subjects; the ratios to the floor use the means of the
# rounds (start-up: the medians of the starts). Prints figures; asserts nothing. Runs on its own
# Xvfb display and Wine prefix (build/wineprefix-bench), so no other Wine server is touched.
set -uo pipefail
cd "$(dirname "$0")/.."
export TIVOLU_WINEPREFIX=$PWD/build/wineprefix-bench
source scripts/winenv.sh
cd "$ROOT"

SECONDS_MEASURED=${BENCH_SECONDS:-20}
# Rounds of the subjects, one after the other; the ratios use the means over all rounds, which
# evens out other work on the machine.
ROUNDS=${BENCH_ROUNDS:-1}
# Where the pointer rests: near the characters' starting places, so that they arrive soon.
STILL_X=520 STILL_Y=120
HZ=$(getconf CLK_TCK)

# BENCH_TIVOLU measures another build of the program (an earlier one, say) against the same floor.
SUBJECT=${BENCH_TIVOLU:-$TIVOLU_RUN_EXE}
missing=()
CHASE_TARGET=$BUILD/host/bench_host_chase_target
for file in "$SUBJECT" "$WIN_BUILD/bench_win_floor.exe" "$WIN_BUILD/bench_win_mover.exe" \
  "$WIN_BUILD/keeper.exe" "$CHASE_TARGET"; do
  [ -f "$file" ] || missing+=("$file")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "not built: ${missing[*]}; run make first" >&2
  exit 1
fi
# The programs run from copies: a build while they run would rewrite their mapped files. The
# program's settings file is then made beside the copy, not beside the build. The copy has a name
# of its own: the end-to-end tests end every "tivolu.exe" on the machine when they finish.
PROGRAMS=$(mktemp -d)
cp "$SUBJECT" "$PROGRAMS/subject.exe"
cp "$WIN_BUILD/bench_win_floor.exe" "$WIN_BUILD/bench_win_mover.exe" "$PROGRAMS/"
TIVOLU=$PROGRAMS/subject.exe FLOOR=$PROGRAMS/bench_win_floor.exe MOVER=$PROGRAMS/bench_win_mover.exe
ONEKO=$(PATH=$PATH:/usr/games command -v oneko)
[ -n "$ONEKO" ] || echo "oneko is not installed (scripts/install-deps.sh installs it): no oneko rows" >&2

# The CPU clock ticks (user + system) used so far by each of PIDS, as "PID TICKS" lines.
cpu_ticks() {
  local pid stat fields
  for pid in "$@"; do
    stat=$(cat "/proc/$pid/stat" 2>/dev/null) || continue
    fields=(${stat##*) }) # from field 3 on: the name in parentheses may hold spaces
    echo "$pid $((fields[11] + fields[12]))"
  done
}

# ticks_between BEFORE AFTER: the ticks used between two cpu_ticks lists by the processes in both.
ticks_between() {
  awk 'NR == FNR { before[$1] = $2; next } $1 in before { sum += $2 - before[$1] }
       END { print sum + 0 }' <(echo "$1") <(echo "$2")
}

# The processes of this run's Wine prefix, with PATTERN (extended regex) in their command line.
# Other developers' programs of the same name belong to other prefixes.
prefix_pids() {
  local dir
  for dir in /proc/[0-9]*; do
    tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    tr '\0' ' ' 2>/dev/null <"$dir/cmdline" | grep -qE "$1" && echo "${dir#/proc/}"
  done
}

server_pids() { prefix_pids '^[^ ]*/wineserver[0-9]* '; }

# Wine's programs other than the subject and the mover (desktop, services, keeper).
other_wine_pids() {
  local pid subject=" $1 " mover
  mover=" $(prefix_pids "$MOVER" | tr '\n' ' ') "
  for pid in $(prefix_pids '\.exe '); do
    [[ $subject == *" $pid "* || $mover == *" $pid "* ]] || echo "$pid"
  done
}

# The machine's busy and total CPU ticks so far, from /proc/stat.
machine_ticks() { awk '$1 == "cpu" { total = 0; for (i = 2; i <= NF; ++i) total += $i
                                     print total - $5 - $6, total }' /proc/stat; }

per_second() { awk -v t="$1" -v ns="$2" -v hz="$HZ" 'BEGIN { printf "%.1f", t * 1000 / hz / (ns / 1e9) }'; }

# measure SUBJECT_PIDS: CPU ms per second of the subject, the server, the mover, Wine's other
# processes and the X server, then window moves per second (the X server's ConfigureNotify
# events for top-level windows) and how busy the whole machine was (per cent of all its CPUs:
# other work on the machine makes the figures less reliable), into MEASURED. Fails when the
# subject has ended meanwhile.
measure() {
  local subject=($1) server=($(server_pids)) mover=($(prefix_pids "$MOVER"))
  local others=($(other_wine_pids "$1"))
  local groups=("${subject[*]}" "${server[*]}" "${mover[*]}" "${others[*]}" "$XVFB_PID")
  local before=() after=() start end i events xev moves machineBefore machineAfter
  events=$(mktemp)
  xev -root -event substructure >"$events" 2>/dev/null &
  xev=$!
  start=$(date +%s%N)
  machineBefore=$(machine_ticks)
  for i in "${!groups[@]}"; do before[i]=$(cpu_ticks ${groups[i]}); done
  sleep "$SECONDS_MEASURED"
  for i in "${!groups[@]}"; do after[i]=$(cpu_ticks ${groups[i]}); done
  machineAfter=$(machine_ticks)
  end=$(date +%s%N)
  kill "$xev"
  wait "$xev" 2>/dev/null
  moves=$(grep -c '^ConfigureNotify event' "$events")
  rm -f "$events"
  MEASURED=()
  for i in "${!groups[@]}"; do
    MEASURED[i]=$(per_second "$(ticks_between "${before[i]}" "${after[i]}")" $((end - start)))
  done
  MEASURED+=("$(awk -v n="$moves" -v ns=$((end - start)) 'BEGIN { printf "%.1f", n / (ns / 1e9) }')")
  MEASURED+=("$(echo "$machineBefore $machineAfter" |
    awk '{ printf "%.0f%%", 100 * ($3 - $1) / ($4 - $2) }')")
  [ ${#subject[@]} -eq 0 ] || kill -0 "${subject[@]}" 2>/dev/null
}

# Window positions of the windows named NAME_REGEX, one line.
positions() {
  local id
  for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null | sort); do
    xdotool getwindowgeometry "$id" | grep Position
  done | tr '\n' ' '
}

# Resident memory of process PID in MB (VmRSS).
resident_mb() { awk '$1 == "VmRSS:" { printf "%.1f", $2 / 1024 }' "/proc/$1/status" 2>/dev/null; }
# Of it, the private part (RssAnon): what no other process shares and the system cannot drop.
private_mb() { awk '$1 == "RssAnon:" { printf "%.1f", $2 / 1024 }' "/proc/$1/status" 2>/dev/null; }

# Waits until the windows named NAME_REGEX keep their places for 2 s (at most 120 s).
wait_standing() {
  local last="" now stable=0 deadline=$((SECONDS + 120))
  while [ $SECONDS -lt $deadline ]; do
    now=$(positions "$1")
    if [ -n "$now" ] && [ "$now" = "$last" ]; then
      stable=$((stable + 1))
      [ $stable -ge 2 ] && return 0
    else
      stable=0
    fi
    last=$now
    sleep 1
  done
  echo "note: $1 did not come to rest within 120 s" >&2
  return 1
}

MOVER_PID=""
start_mover() {
  wine "$MOVER" "$@" >/dev/null 2>&1 &
  MOVER_PID=$!
}
stop_mover() {
  [ -n "$MOVER_PID" ] && kill "$MOVER_PID" 2>/dev/null && wait "$MOVER_PID" 2>/dev/null
  MOVER_PID=""
}

SUBJECT_PID=""
stop_subject() {
  [ -n "$SUBJECT_PID" ] || return 0
  kill "$SUBJECT_PID" 2>/dev/null
  wait_until 10 bash -c "! kill -0 $SUBJECT_PID" || kill -KILL "$SUBJECT_PID" 2>/dev/null
  wait "$SUBJECT_PID" 2>/dev/null
  SUBJECT_PID=""
}

cleanup() {
  stop_subject
  stop_mover
  winenv_stop
  rm -rf "$PROGRAMS"
}

ROWS=()
# add_to NAME VALUE: adds VALUE to the variable NAME (empty counts as 0).
add_to() { printf -v "$1" '%s' "$(awk -v a="${!1:-0}" -v b="$2" 'BEGIN { print a + b }')"; }

# row SUBJECT CONDITION COUNT_SERVER KEY: one table row from MEASURED; the server's cost counts in
# the total unless COUNT_SERVER is "no". For the ratios, the total, the server's cost and the moves
# are summed in TOTAL_<KEY>_<CONDITION>, SERVER_... and MOVES_..., the rows in ROWS_....
row() {
  local total=${MEASURED[0]} server=${MEASURED[1]}
  if [ "$3" = no ]; then
    server="-"
  else
    total=$(awk -v a="${MEASURED[0]}" -v b="${MEASURED[1]}" 'BEGIN { printf "%.1f", a + b }')
  fi
  ROWS+=("$(printf '%-14s %-9s %9s %11s %9s | %8s %7s %11s %7s %5s' "$1" "$2" "${MEASURED[0]}" \
    "$server" "$total" "${MEASURED[5]}" "${MEASURED[2]}" "${MEASURED[3]}" "${MEASURED[4]}" \
    "${MEASURED[6]}")")
  add_to "TOTAL_${4}_$2" "$total"
  add_to "SERVER_${4}_$2" "${MEASURED[1]}"
  add_to "MOVES_${4}_$2" "${MEASURED[5]}"
  add_to "ROWS_${4}_$2" 1
  echo "measured: ${ROWS[-1]}" >&2
}

# time_start KEY WINDOW_REGEX COMMAND...: starts the subject with the pointer still, adds the ms
# until its four windows show to STARTUP_<KEY>, and stops it.
time_start() {
  local key=$1 windows=$2 start watcher shown out=$PROGRAMS/shown
  shift 2
  # The watcher listens before the start (its first line, "ready"), then writes the moment the
  # four windows are mapped on the X display and ends.
  /usr/bin/python3 bench/shown.py "$windows" 4 >"$out" &
  watcher=$!
  wait_until 10 grep -q '^ready$' "$out"
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  SUBJECT_PID=$!
  wait "$watcher"
  shown=$(sed -n 2p "$out")
  if [ -n "$shown" ]; then
    eval "STARTUP_$key+=($(((shown - start) / 1000000)))"
  else
    echo "note: $key did not show its windows" >&2
  fi
  stop_subject
  sleep 2 # the server finishes with the subject's windows
}

# median VALUE...: the median.
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { if (NR) print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# program_quarry STARTED SHOWN: the character the program's Quarn chases, drawn from the second it
# started in, somewhere from STARTED to SHOWN; the floor started next chases the same one
# (FLOOR_CHASE). Where those seconds draw different ones it is not known, and the floor draws its
# own.
program_quarry() {
  local first last
  first=$("$CHASE_TARGET" "$1") last=$("$CHASE_TARGET" "$2")
  if [ "$first" = "$last" ]; then
    export FLOOR_CHASE=$first
  else
    unset FLOOR_CHASE
    echo "note: the program's quarry is not known this round; the floor draws its own" >&2
  fi
}

# bench_subject NAME WINDOW_REGEX COUNT_SERVER KEY COMMAND...: starts the subject with the pointer
# still, measures it standing once it has come to rest (and its resident memory then), then
# walking.
MEMORY=()
bench_subject() {
  local name=$1 windows=$2 countServer=$3 key=$4 condition rss started shown
  shift 4
  start_mover still "$STILL_X" "$STILL_Y"
  started=$(date +%s)
  "$@" >/dev/null 2>&1 &
  SUBJECT_PID=$!
  if ! wait_until 60 xdotool search --onlyvisible --name "$windows"; then
    ROWS+=("$name: did not show its windows; no figures")
  else
    shown=$(date +%s)
    [ "$key" = TIVOLU ] && program_quarry "$started" "$shown"
    wait_standing "$windows"
    rss=$(resident_mb "$SUBJECT_PID") private=$(private_mb "$SUBJECT_PID")
    MEMORY+=("$(printf '%-14s %12s %12s' "$name" "$rss" "$private")")
    add_to "RSS_$key" "$rss"
    add_to "PRIVATE_$key" "$private"
    add_to "RESTED_$key" 1
    for condition in standing walking; do
      if [ $condition = walking ]; then
        stop_mover
        start_mover
        sleep 3 # the characters get going
      fi
      if ! measure "$SUBJECT_PID"; then
        ROWS+=("$name: ended while measured $condition; no figures")
        break
      fi
      row "$name" $condition "$countServer" "$key"
    done
  fi
  stop_mover
  stop_subject
  sleep 2 # the server finishes with the subject's windows
}

trap cleanup EXIT
winenv_start virtual || exit 1
echo "measuring ${SECONDS_MEASURED} s per figure, CPU ms per second of wall time (clock tick $HZ Hz)" >&2

start_mover still "$STILL_X" "$STILL_Y"
sleep 2
measure "$MOVER_PID"
row "mover alone" standing yes MOVER
stop_mover
start_mover
sleep 2
measure "$MOVER_PID"
row "mover alone" walking yes MOVER
stop_mover

STARTUP_TIVOLU=() STARTUP_FLOOR=()
start_mover still "$STILL_X" "$STILL_Y"
# A start of each first, not counted: the first start reads the libraries from disk. Then in
# turn, each going first every other time, so that neither always starts right after the other.
time_start WARMUP '^(Mubo|Tesk|Plim|Quarn)$' wine "$TIVOLU"
time_start WARMUP '^Floor[1-4]$' wine "$FLOOR"
for ((start = 1; start <= ${BENCH_STARTS:-5}; ++start)); do
  if ((start % 2)); then
    time_start TIVOLU '^(Mubo|Tesk|Plim|Quarn)$' wine "$TIVOLU"
    time_start FLOOR '^Floor[1-4]$' wine "$FLOOR"
  else
    time_start FLOOR '^Floor[1-4]$' wine "$FLOOR"
    time_start TIVOLU '^(Mubo|Tesk|Plim|Quarn)$' wine "$TIVOLU"
  fi
done
stop_mover

for ((round = 1; round <= ROUNDS; ++round)); do
  bench_subject tivolu.exe '^(Mubo|Tesk|Plim|Quarn)$' yes TIVOLU wine "$TIVOLU"
  bench_subject floor '^Floor[1-4]$' yes FLOOR wine "$FLOOR"
  [ -z "$ONEKO" ] || bench_subject oneko 'oneko' no ONEKO "$ONEKO"
done

echo
cat <<EOF
CPU ms per second of wall time, over ${SECONDS_MEASURED} s, ${ROUNDS} round(s). total = process +
wineserver (oneko: its process alone). The mover runs in every row: subtract the 'mover alone'
server figure from a Wine subject's server figure for the subject's own share. Right of the bar,
for reference: window moves per second (X ConfigureNotify events), the mover's own process,
Wine's other processes (desktop, services, keeper), the X server, and how busy the machine was
(all its CPUs, this run included): other work on the machine makes the figures less reliable.
EOF
printf '%-14s %-9s %9s %11s %9s | %8s %7s %11s %7s %5s\n' subject condition process wineserver \
  total moves/s mover "other wine" Xvfb busy
printf '%s\n' "${ROWS[@]}"
echo
echo "Start-up: ms from the start until the four windows show, each start."
printf '%-14s %s\n' tivolu.exe "${STARTUP_TIVOLU[*]}" floor "${STARTUP_FLOOR[*]}"
echo "Memory: MB once at rest, resident and of it private."
printf '%s\n' "${MEMORY[@]}"
echo
# mean NAME KEY CONDITION: the mean of NAME_KEY_CONDITION over its rows; empty without rows.
mean() {
  local sum=${1}_$2_$3 count=ROWS_$2_$3
  awk -v s="${!sum:-0}" -v n="${!count:-0}" 'BEGIN { print (n > 0 ? s / n : "") }'
}
# tivolu against the floor, means over the rounds: whole totals; both less the server's cost with
# the mover alone; and, when walking, that per window move (the floor's Quarn chases the
# program's quarry where it is known, so that both make the same moves).
for condition in walking standing; do
  tivolu=$(mean TOTAL TIVOLU $condition) floor=$(mean TOTAL FLOOR $condition)
  [ -n "$tivolu" ] && [ -n "$floor" ] || continue
  awk -v c="$condition" -v t="$tivolu" -v f="$floor" -v s="$(mean SERVER MOVER $condition)" \
    -v tm="$(mean MOVES TIVOLU $condition)" -v fm="$(mean MOVES FLOOR $condition)" 'BEGIN {
    printf "%-9s tivolu / floor = %.2f", c, (f > 0 ? t / f : 0)
    if (f - s > 0) printf "   less the mover-alone server: %.2f", (t - s) / (f - s)
    if (c == "walking" && tm > 0 && fm > 0 && f - s > 0)
      printf "   per window move: %.2f (%.2f ms / %.2f ms)", ((t - s) / tm) / ((f - s) / fm),
        (t - s) / tm, (f - s) / fm
    printf "\n" }'
done
# Start-up against the floor by the medians; memory by the means over the rounds.
startup_tivolu=$(median "${STARTUP_TIVOLU[@]}") startup_floor=$(median "${STARTUP_FLOOR[@]}")
if [ -n "$startup_tivolu" ] && [ -n "$startup_floor" ]; then
  awk -v t="$startup_tivolu" -v f="$startup_floor" 'BEGIN {
    printf "start-up  tivolu / floor = %.2f   (medians %.0f ms / %.0f ms)\n", t / f, t, f }'
fi
awk -v t="${RSS_TIVOLU:-0}" -v f="${RSS_FLOOR:-0}" -v tn="${RESTED_TIVOLU:-0}" \
  -v tp="${PRIVATE_TIVOLU:-0}" -v fp="${PRIVATE_FLOOR:-0}" \
  -v fn="${RESTED_FLOOR:-0}" 'BEGIN { if (tn == 0 || fn == 0 || f == 0) exit
  printf "memory    tivolu / floor = %.2f   (%.1f MB / %.1f MB)", (t / tn) / (f / fn), t / tn, f / fn
  if (tp > 0 && fp > 0)
    printf "   private: %.2f (%.1f MB / %.1f MB)", (tp / tn) / (fp / fn), tp / tn, fp / fn
  printf "\n" }'
