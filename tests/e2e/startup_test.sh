#!/usr/bin/env bash
# The program starts with its four characters at their places, always on top, without task-bar
# buttons of their own; closing the main window ends it with exit code 0 and takes the rest along.
source "$(dirname "$0")/lib.sh"

start_program
for c in "${CHARACTERS[@]}"; do
  check "$c appears" wait_until 60 window_shown "$c"
done

declare -A LEFT=([Mubo]=480 [Tesk]=550 [Plim]=410 [Quarn]=0)
declare -A TOP=([Mubo]=-80 [Tesk]=-50 [Plim]=-50 [Quarn]=680)
for c in "${CHARACTERS[@]}"; do
  info=$(probe info "$c")
  echo "$c: $info"
  check "$c at (${LEFT[$c]}, ${TOP[$c]})" grep -q "left=${LEFT[$c]} top=${TOP[$c]} " <<<"$info"
  check "$c topmost" grep -q "topmost=1" <<<"$info"
  check "$c has no system menu" grep -q "sysmenu=0" <<<"$info"
  check "$c owned by the application window" grep -q "owner='Launcher Tivolu! ～Morvane～'" <<<"$info"
  state=$(xprop -id "$(xdotool search --name "^$c\$" | head -n 1)" _NET_WM_STATE)
  check "$c above other windows on the X display" grep -q _NET_WM_STATE_ABOVE <<<"$state"
  check "$c has no task-bar entry" grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state"
done

check "the application window carries the title" wait_until 10 xdotool search --name '^Launcher Tivolu! ～Morvane～$'

probe close Mubo
check "the program ends after its main window is closed" wait_until 60 program_ended
check "exit code 0" test "$(exit_code)" = 0
for c in "${CHARACTERS[@]}"; do
  check "$c is gone" no_window "$c"
done
finish
