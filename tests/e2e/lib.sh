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

# output_is EXPECTED COMMAND...: the command prints exactly EXPECTED; output_is_not the opposite;
# output_above N COMMAND...: it prints a number above N. For wait_until, which runs its command
# anew at every poll: a $(...) among its arguments would be read once, before the first.
output_is() { local expected=$1; shift; [ "$("$@")" = "$expected" ]; }
output_is_not() { ! output_is "$@"; }
output_above() { local n=$1; shift; [ "$("$@")" -gt "$n" ]; }

# wait_until SECONDS COMMAND... polls with a deadline; the Wine settings stay as the run set them.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/winenv.sh"
# ctest names the program and its build; run by hand, the build winenv.sh chose.
TIVOLU_EXE=${TIVOLU_EXE:-$TIVOLU_RUN_EXE}
TIVOLU_BUILD=${TIVOLU_BUILD:-$WIN_BUILD}
PROBE="$TIVOLU_BUILD/probe.exe"

probe() { wine "$PROBE" "$@" 2>/dev/null | tr -d '\r'; }

# windows_path PATH: the Windows path Wine gives PATH. winepath is tried again when it prints
# nothing: on a busy machine its start can fail, and an empty path would fail checks that have
# nothing to do with it.
windows_path() {
  local path try
  for try in 1 2 3 4 5; do
    path=$(winepath -w "$1" 2>/dev/null) && [ -n "$path" ] && { echo "$path"; return 0; }
    sleep 0.5
  done
  echo "winepath gave no path for $1" >&2
  return 1
}

# probe_field CAPTION FIELD: one value of `probe info`.
probe_field() { probe info "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }

# Start-up has ended: the settings are read and the tray icon's activation takes messages (until
# then no message is taken and nobody walks); the application's task-bar window stays hidden.
started_up() {
  probe info 'Launcher Tivolu! ～Morvane～' | grep -q 'visible=0' &&
    probe responds 'Launcher Tivolu! ～Morvane～'
}

# The characters have come to rest: nobody moved for a second, twenty walker ticks.
at_rest() {
  local a b
  a=$(probe where "${CHARACTERS[@]}"); sleep 1; b=$(probe where "${CHARACTERS[@]}")
  [ "$a" = "$b" ]
}

# save_characters DIR: each character's `probe info` line and `probe region` lines, read by one
# start of the probe, into DIR/NAME.info and DIR/NAME.region (empty for a window not there).
save_characters() {
  probe dump "${CHARACTERS[@]}" | awk -v dir="$1" '
    /^== / { name = dir "/" substr($0, 4); printf "" >(name ".info"); printf "" >(name ".region")
             line = 0; next }
    { print >(name (++line == 1 ? ".info" : ".region")) }'
}

# rabbit_point gap|figurepoint: that point by the rabbit as the characters stand now, as "X Y"
# ("none" when there is none); see rabbit_points.py.
rabbit_point() {
  save_characters "$WORK"
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/rabbit_points.py" "$WORK" | sed -n "s/^$1 //p"
}

# move_pointer X Y: moves the X pointer there and waits until X reports it there. (xdotool's own
# wait, --sync, waits 15 s for a move that never comes when the pointer is there already.)
pointer_at() { xdotool getmouselocation | grep -q "^x:$1 y:$2 "; }
move_pointer() {
  pointer_at "$1" "$2" && return 0
  xdotool mousemove "$1" "$2"
  wait_until 5 pointer_at "$1" "$2"
}

# Puts the pointer on a point of the rabbit's figure where no other character lies, inside his
# resting zone, once everyone has come to rest around it ("X Y" in TESK).
point_at_tesk() {
  local try
  for try in 1 2 3 4 5; do
    wait_until 60 at_rest || return 1
    TESK=$(rabbit_point figurepoint)
    [ "$TESK" != none ] || return 1
    # shellcheck disable=SC2086
    move_pointer $TESK
    # The others walk to the pointer too; when one of them covers the point now, another is chosen.
    wait_until 60 at_rest || return 1
    [ "$(rabbit_point figurepoint)" = "$TESK" ] && return 0
  done
  return 1
}

# rest_around X Y WHAT [SECONDS]: everyone comes to rest within SECONDS (120), the three in their
# zones around X, Y (scaled by TIVOLU_SCALE); their places are left in $final.
rest_around() {
  local k=${TIVOLU_SCALE:-1}
  check "everyone comes to rest $3" wait_until "${4:-120}" at_rest
  final=$(where)
  echo "$final"
  check "Mubo rests in his zone $3" in_zone Mubo 0 $((32 * k)) "$1" "$2"
  check "Tesk rests in his zone $3" in_zone Tesk $((-24 * k)) $((12 * k)) "$1" "$2"
  check "Plim rests in his zone $3" in_zone Plim $((-48 * k)) $((24 * k)) "$1" "$2"
  check "Quarn came to rest by the character it chases $3" quarry_near
}

# Wine's system tray window, where the program's icon shows (empty when it is not there).
tray_window() { xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -n 1; }
tray_shown() { [ -n "$(tray_window)" ]; }
# Sets X, Y, WIDTH, HEIGHT of the tray window, and ICON_X, ICON_Y inside the first icon, which
# sits at the window's start.
tray_icon() {
  eval "$(xdotool getwindowgeometry --shell "$(tray_window)")"
  ICON_X=$((X + 10)) ICON_Y=$((Y + 10))
}

# The settings window's edit fields in slot order (Edit1, Edit3, Edit5, Edit7: top to bottom), as
# "ENABLED TEXT" lines.
SETTINGS='設定ウィンドウ'
edit_fields() {
  probe children "$SETTINGS" | sed -n 's/^Edit enabled=\([01]\) top=\(-\{0,1\}[0-9]*\) \{0,1\}/\2 \1 /p' |
    sort -s -n -k1,1 | cut -d' ' -f2-
}
# field_text N: the text of slot N's (1 to 4) field.
field_text() { edit_fields | sed -n "$1p" | cut -c3-; }
settings_shown() { probe info "$SETTINGS" | grep -q 'visible=1'; }
settings_hidden() { probe info "$SETTINGS" | grep -q 'visible=0'; }
# The settings window opened by a double click on the tray icon (slot 1), as a user opens it: its
# fields have windows only once it has shown. LEFT, TOP: its place.
open_settings() {
  tray_icon
  move_pointer $ICON_X $ICON_Y
  sleep 0.3
  xdotool click --repeat 2 --delay 120 1
  wait_until 10 settings_shown || return 1
  read -r LEFT TOP < <(probe info "$SETTINGS" | sed 's/left=\([-0-9]*\) top=\([-0-9]*\).*/\1 \2/')
}

# right_press X Y: a right press and release there, slow enough that the press opens a menu and
# the release comes while it is open.
right_press() {
  move_pointer "$1" "$2"
  sleep 0.3
  xdotool mousedown 3
  sleep 0.2
  xdotool mouseup 3
}

# "NAME LEFT TOP" of the four characters, read together; top_of NAME PLACES: NAME's top in them.
where() { probe where "${CHARACTERS[@]}"; }
top_of() { awk -v c="$1" '$1 == c { print $3 }' <<<"$2"; }

# in_zone NAME U D REFX REFY: in the places read into $final (from `where`), the reference lies
# within [U, D] of NAME's window on both axes.
in_zone() {
  local left top
  read -r _ left top < <(grep "^$1 " <<<"$final")
  local dx=$(($4 - left)) dy=$(($5 - top))
  [ $dx -ge $2 ] && [ $dx -le $3 ] && [ $dy -ge $2 ] && [ $dy -le $3 ]
}

# Quarn rests by one of the three it may chase: within its zone, scaled by the program's
# whole-pixel scale TIVOLU_SCALE (1 unless a test sets the screen's DPI).
quarry_near() {
  local c left top k=${TIVOLU_SCALE:-1}
  for c in Mubo Tesk Plim; do
    read -r _ left top < <(grep "^$c " <<<"$final")
    in_zone Quarn $((-12 * k)) $((32 * k)) "$left" "$top" && return 0
  done
  return 1
}

window_shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
no_window() { ! xdotool search --name "^$1\$" >/dev/null 2>&1; }

# start_program [EXE [ARGUMENT...]]: starts the program; its exit code lands in $WORK/exit-code.
# Without EXE, the build's program runs from a copy in $WORK: its settings file is the test's own,
# so tests running side by side never read each other's.
start_program() {
  WORK=$(mktemp -d)
  if [ $# -gt 0 ]; then
    PROGRAM_EXE=$1
    shift
  else
    PROGRAM_EXE=$WORK/tivolu.exe
    cp "$TIVOLU_EXE" "$PROGRAM_EXE"
  fi
  ( wine "$PROGRAM_EXE" "$@" >/dev/null 2>&1; echo $? >"$WORK/exit-code" ) &
  PROGRAM_SUBSHELL=$!
  trap stop_program EXIT
}

program_ended() { [ -s "$WORK/exit-code" ]; }
exit_code() { cat "$WORK/exit-code"; }

# program_pids [EXE]: the processes of the program (by its file name) in this Wine prefix only:
# another lane may run a program of the same name.
program_pids() {
  local pid found=1
  for pid in $(pgrep -f "$(basename "${1:-$PROGRAM_EXE}")"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      echo "$pid" && found=0
  done
  return $found
}

# program_maps LIBRARY: whether the running program has loaded LIBRARY (a file name, say ole32.dll).
program_maps() {
  local pid
  for pid in $(program_pids); do grep -qiF "/$1" "/proc/$pid/maps" 2>/dev/null && return 0; done
  return 1
}
program_lacks() { ! program_maps "$1"; }

stop_program() {
  if ! program_ended 2>/dev/null; then
    local pid
    for pid in $(program_pids "${1:-}"); do kill "$pid" 2>/dev/null; done
  fi
  wait 2>/dev/null
  rm -rf "$WORK"
}

finish() {
  if [ "$FAILURES" -eq 0 ]; then echo "all checks passed"; exit 0; fi
  echo "$FAILURES check(s) failed" >&2
  exit 1
}
