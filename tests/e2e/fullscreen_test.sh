#!/usr/bin/env bash
# Another program's window fills the screen and takes the foreground (the probe's recorder, as a
# film or a game would): within a second every character has left the top and lies behind it, in
# Wine's stacking order and on the X display, and a click where a character is reaches that
# window; once it ends, within a second they are on top again. Before that, a maximised window
# with a caption in the foreground moves nobody.
source "$(dirname "$0")/lib.sh"

read -r SCREEN_W SCREEN_H < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')

# The stacking order of the recorder and the characters, top first, as "NAME TOPMOST" lines.
stacking() { probe stacking Recorder "${CHARACTERS[@]}"; }
all_on_top() {
  local order
  order=$(stacking | head -n 4)
  [ "$(grep -v '^Recorder' <<<"$order" | grep -c ' 1$')" -eq 4 ]
}
all_behind() {
  local order
  order=$(stacking)
  [ "$(head -n 1 <<<"$order")" = "Recorder 0" ] && [ "$(grep -c ' 0$' <<<"$order")" -eq 5 ]
}
# On the X display (xwininfo lists the top first): each character either off the display or
# listed after the recorder.
behind_on_x() {
  local shown=() c
  for c in "${CHARACTERS[@]}"; do window_shown "$c" && shown+=("$c"); done
  xwininfo -root -children | awk -v names="${shown[*]}" '
    BEGIN { n = split(names, list, " "); for (i = 1; i <= n; ++i) want["\"" list[i] "\":"] = 1 }
    $2 in want && !first { first = NR }
    $2 == "\"Recorder\":" { recorder = NR }
    END { exit !(recorder && (!first || recorder < first)) }'
}
# within_a_second WHAT COMMAND...: COMMAND holds within a second of now.
within_a_second() {
  local what=$1 start elapsed; shift
  start=$(date +%s%N)
  if wait_until 3 "$@"; then
    elapsed=$((($(date +%s%N) - start) / 1000000))
    echo "$what after $elapsed ms"
    check "$what within a second" test "$elapsed" -le 1000
  else
    fail "$what"
  fi
}
# open_recorder MODE X Y W H: the probe's recorder in the foreground, logging its clicks.
open_recorder() {
  RECORDER_LOG=$WORK/recorder-$1.log
  wine "$PROBE" recorder "$3" "$4" "$5" "$6" "$(winepath -w "$RECORDER_LOG")" "$2" >/dev/null 2>&1 &
  RECORDER_PID=$!
  wait_until 20 grep -q ready "$RECORDER_LOG"
}
close_recorder() {
  probe close Recorder
  wait "$RECORDER_PID" 2>/dev/null
}

start_program
for c in "${CHARACTERS[@]}"; do check "$c appears" wait_until 60 window_shown "$c"; done
check "start-up has ended" wait_until 60 started_up
check "every character is on top" all_on_top

# A maximised window with a caption: nobody moves out of the top for three checks' time.
check "a maximised window opens in the foreground" open_recorder max maximized 0 0 400 300
stays_on_top() {
  local until=$((SECONDS + 2))
  while [ $SECONDS -lt $until ]; do all_on_top || return 1; sleep 0.2; done
}
check "beside a maximised window with a caption every character stays on top" stays_on_top
close_recorder

# A window filling the whole screen in the foreground.
check "a full-screen window opens in the foreground" \
  open_recorder full front 0 0 "$SCREEN_W" "$SCREEN_H"
within_a_second "every character is behind the full-screen window" all_behind
check "on the X display too" behind_on_x
# A click on a character's figure (the first one on the screen) reaches the full-screen window.
click_point() {
  local c left top x0 y0 x1 y1 x y
  for c in "${CHARACTERS[@]}"; do
    read -r left top < <(probe info "$c" | sed 's/.*left=\(-\{0,1\}[0-9]*\) top=\(-\{0,1\}[0-9]*\).*/\1 \2/')
    read -r x0 y0 x1 y1 < <(probe region "$c" | head -n 1)
    x=$((left + (x0 + x1) / 2)) y=$((top + (y0 + y1) / 2))
    if [ $x -ge 0 ] && [ $y -ge 0 ] && [ $x -lt "$SCREEN_W" ] && [ $y -lt "$SCREEN_H" ]; then
      echo "$c $x $y"
      return 0
    fi
  done
  return 1
}
read -r CLICKED CLICK_X CLICK_Y < <(click_point)
# The characters walk to the pointer: the click comes at once, where the character stood.
xdotool mousemove --sync "$CLICK_X" "$CLICK_Y" click 1
check "a click where $CLICKED stood reaches the full-screen window" \
  wait_until 5 grep -q "^click $CLICK_X $CLICK_Y" "$RECORDER_LOG"
# The characters walk on behind it.
check "the characters stay behind it" all_behind
close_recorder
within_a_second "every character is on top again once it has ended" all_on_top
finish
