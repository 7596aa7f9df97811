#!/usr/bin/env bash
# Two monitors side by side, the second left of the primary one, where Windows gives it negative
# coordinates: the pointer moved through X onto the left monitor, and all four characters walk
# over onto it and come to rest there in their zones around it.
#
# The two monitors are an X server of the test's own (Xephyr, nested in an Xvfb) whose two screens
# Xinerama joins. Wine asks RandR first, where Xephyr has one output: in a Wine prefix of the
# test's own, its X11 driver reads Xinerama instead (UseXRandR=N) and takes the right-hand head
# for the primary monitor (PrimaryMonitor=1). The lane's display, prefix and Wine server are left
# alone: the tests that take no lane run in lane 0's.
source "$(dirname "$0")/lib.sh"
export TIVOLU_WINEPREFIX=$BUILD/monitors-wineprefix
source "$ROOT/scripts/winenv.sh"

KEEPER_PID="" XVFB_PID="" HOST_PID="" XEPHYR_PID="" program=""
cleanup() {
  winenv_stop
  # shellcheck disable=SC2086
  kill $XEPHYR_PID $HOST_PID 2>/dev/null
  [ -n "${WORK:-}" ] && stop_program
  wait 2>/dev/null
  [ -n "$program" ] && rm -rf "$program"
}
trap cleanup EXIT
winenv_x_server Xvfb -screen 0 1280x1024x24 -noreset -nolisten tcp || exit 1
HOST_PID=$X_SERVER_PID
DISPLAY=$X_SERVER_DISPLAY winenv_x_server Xephyr -screen 1280x1024+0+0 -screen 1280x1024+1280+0 \
  +xinerama -noreset -nolisten tcp || exit 1
XEPHYR_PID=$X_SERVER_PID
export DISPLAY=$X_SERVER_DISPLAY

# Each prefix has its own Wine server, whose desktop reads the monitors when it starts.
two_monitors() { [ "$(probe monitors)" = "$(printf '0 0 1280 1024\n-1280 0 0 1024')" ]; }
winenv_start || { fail "Wine starts on the two monitors"; finish; }
if ! two_monitors; then
  key='HKCU\Software\Wine\X11 Driver'
  wine reg add "$key" /v UseXRandR /d N /f >/dev/null 2>&1
  wine reg add "$key" /v PrimaryMonitor /d 1 /f >/dev/null 2>&1
  winenv_start || { fail "Wine starts again on the two monitors"; finish; }
fi
check "Wine sees two monitors, the second one left of the primary" two_monitors
probe monitors

# X's left head (0 to 1279) is Windows' -1280 to -1. Placed before the start, the pointer is
# walked to from the first tick.
PX=-200 PY=150
check "the pointer is placed on the left monitor through X" move_pointer $((PX + 1280)) $PY
check "Windows sees the pointer there" test "$(probe cursor -)" = "$PX $PY"

# A copy of its own, with a settings file of its own.
program=$(mktemp -d)
cp "$TIVOLU_EXE" "$program/tivolu.exe"
start_program "$program/tivolu.exe"
trap cleanup EXIT
for c in "${CHARACTERS[@]}"; do check "$c appears" wait_until 60 window_shown "$c"; done
check "start-up has ended" wait_until 60 started_up
# The three walkers start far enough right that they are still on the primary monitor.
on_primary() { probe where Mubo Tesk Plim | awk '$2 < 0 { bad = 1 } END { exit bad || NR != 3 }'; }
check "the walkers start on the primary monitor" on_primary
# Mubo walks some 700 pixels at one a tick: 35 s, and longer on a busy machine.
rest_around $PX $PY "on the left monitor" 180

# on_left_monitor NAME: the whole window lies on the left monitor.
on_left_monitor() {
  local left width
  read -r _ left _ < <(grep "^$1 " <<<"$final")
  width=$(probe_field "$1" width)
  [ "$left" -ge -1280 ] && [ $((left + width)) -le 0 ]
}
for c in "${CHARACTERS[@]}"; do check "$c stands wholly on the left monitor" on_left_monitor "$c"; done
finish
