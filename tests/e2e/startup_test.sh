#!/usr/bin/env bash
# The program starts with its four characters at their places, always on top, without task-bar
# buttons of their own; closing the main window ends it with exit code 0 and takes the rest along.
source "$(dirname "$0")/lib.sh"

# The pointer is placed below and right of everyone before the start, so every character
# walks right and down from its stored place at its own speed (Quarn toward its quarry, which
# starts above it and to its right).
probe cursor 1200 1000 >/dev/null
start_program
for c in "${CHARACTERS[@]}"; do
  check "$c appears" wait_until 60 window_shown "$c"
done

declare -A LEFT=([Mubo]=480 [Tesk]=550 [Plim]=410 [Quarn]=0)
declare -A TOP=([Mubo]=-80 [Tesk]=-50 [Plim]=-50 [Quarn]=680)
declare -A SPEED=([Mubo]=1 [Tesk]=3 [Plim]=4 [Quarn]=6)
declare -A DOWN=([Mubo]=1 [Tesk]=1 [Plim]=1 [Quarn]=-1)

# Started at its stored place: N ticks later it stands N steps away on both axes (or one more
# step down, when the window is read between a tick's vertical and horizontal moves).
walked_from_stored_place() {
  local c=$1 left=$2 top=$3 s=${SPEED[$1]}
  local dx=$((left - LEFT[$c])) dy=$(((top - TOP[$c]) * DOWN[$c]))
  [ $dx -ge 0 ] && [ $((dx % s)) -eq 0 ] && [ $((dy % s)) -eq 0 ] &&
    [ $dy -ge $dx ] && [ $dy -le $((dx + s)) ] && [ $((dx / s)) -lt 100 ]
}

save_characters "$WORK"  # the four read by one start of the probe, at one moment
for c in "${CHARACTERS[@]}"; do
  info=$(cat "$WORK/$c.info")
  echo "$c: $info"
  left=$(sed -E 's/.*left=(-?[0-9]+).*/\1/' <<<"$info")
  top=$(sed -E 's/.*top=(-?[0-9]+).*/\1/' <<<"$info")
  check "$c started at (${LEFT[$c]}, ${TOP[$c]})" walked_from_stored_place "$c" "$left" "$top"
  check "$c topmost" grep -q "topmost=1" <<<"$info"
  check "$c has no system menu" grep -q "sysmenu=0" <<<"$info"
  check "$c owned by the application window" grep -q "owner='Launcher Tivolu! ～Morvane～'" <<<"$info"
  check "$c has no border or caption" grep -q "caption=0 popup=1" <<<"$info"
  # A borderless popup is left alone by the window manager: no task-bar entry, no decoration.
  x=$(xdotool search --name "^$c\$" | head -n 1)
  check "$c is not managed by the window manager" grep -q 'Override Redirect State: yes' \
    < <(xwininfo -id "$x")
done

check "the application window carries the title" wait_until 10 xdotool search --name '^Launcher Tivolu! ～Morvane～$'

probe close Mubo
check "the program ends after its main window is closed" wait_until 60 program_ended
check "exit code 0" test "$(exit_code)" = 0
for c in "${CHARACTERS[@]}"; do
  check "$c is gone" no_window "$c"
done
finish
