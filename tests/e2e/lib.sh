# Shared by the end-to-end tests: start the program under Wine and look at its windows.
# Needs DISPLAY and the Wine environment of scripts/winenv.sh (set up by scripts/test.sh).
set -uo pipefail
CHARACTERS=(Mubo Tesk Plim Quarn)
FAILURES=0

fail() {
  echo "FAIL: $*" >&2
  FAILURES=$((FAILURES + 1))
}

# check DESCRIPTION COMMAND...: runs the command, counts a failure if it fails.
check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# wait_until SECONDS COMMAND... polls with a deadline; the Wine settings stay as the run set them.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/winenv.sh"
# ctest names the program and its build; run by hand, the build winenv.sh chose.
TIVOLU_EXE=${TIVOLU_EXE:-$TIVOLU_RUN_EXE}
TIVOLU_BUILD=${TIVOLU_BUILD:-$WIN_BUILD}
PROBE="$TIVOLU_BUILD/probe.exe"

probe() { wine "$PROBE" "$@" 2>/dev/null | tr -d '\r'; }

# probe_field CAPTION FIELD: one value of `probe info`.
probe_field() { probe info "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }

# Start-up has ended with the tray icon's activation, which hides the application's task-bar window
# (until then the message loop has not started and nobody walks).
started_up() { probe info 'Launcher Tivolu! ～Morvane～' | grep -q 'visible=0'; }

window_shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
no_window() { ! xdotool search --name "^$1\$" >/dev/null 2>&1; }

# start_program [EXE [ARGUMENT...]]: starts the program; its exit code lands in $WORK/exit-code.
start_program() {
  WORK=$(mktemp -d)
  PROGRAM_EXE=${1:-$TIVOLU_EXE}
  shift || true
  ( wine "$PROGRAM_EXE" "$@" >/dev/null 2>&1; echo $? >"$WORK/exit-code" ) &
  PROGRAM_SUBSHELL=$!
  trap stop_program EXIT
}

program_ended() { [ -s "$WORK/exit-code" ]; }
exit_code() { cat "$WORK/exit-code"; }

stop_program() {
  if ! program_ended 2>/dev/null; then
    pkill -f "$(basename "${1:-$PROGRAM_EXE}")" 2>/dev/null
  fi
  wait 2>/dev/null
  rm -rf "$WORK"
}

finish() {
  if [ "$FAILURES" -eq 0 ]; then echo "all checks passed"; exit 0; fi
  echo "$FAILURES check(s) failed" >&2
  exit 1
}
