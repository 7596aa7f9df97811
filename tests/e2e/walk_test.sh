#!/usr/bin/env bash
# The pointer is moved the way a user moves it, through X (xdotool), and only over the bare
# desktop: Mubo, Tesk and Plim walk to it at 1, 3 and 4 pixels a tick and come to rest inside
# their zones around it, then turn and follow it to the opposite corner; Quarn follows the
# character it chases.
source "$(dirname "$0")/lib.sh"

# The window under the pointer is the root window: no window of the program's nor Wine's.
pointer_over_root() {
  local root
  root=$(printf '%d' "$(xwininfo -root | awk '/Window id:/ { print $4 }')")
  xdotool getmouselocation --shell | grep -qx "WINDOW=$root"
}

# Low enough that all three are still on their way down for a few seconds: a busy machine may
# take a second to read where they are.
PX=560 PY=250
check "the pointer is placed through X" move_pointer $PX $PY
start_program
for c in "${CHARACTERS[@]}"; do check "$c appears" wait_until 60 window_shown "$c"; done
check "start-up has ended" wait_until 60 started_up

# All three walk down from their stored tops (-80, -50, -50): after n ticks they have made n
# steps of their own size. Read them together while all are still on their way (Plim, the
# fastest, arrives after 69 ticks).
mubo_walked() { [ "$(top_of Mubo "$(where)")" -ge -66 ]; }
wait_until 20 mubo_walked
sample=$(where)
echo "$sample"
n_mubo=$(($(top_of Mubo "$sample") + 80))
n_tesk=$((($(top_of Tesk "$sample") + 50) / 3))
n_plim=$((($(top_of Plim "$sample") + 50) / 4))
echo "ticks walked: Mubo $n_mubo, Tesk $n_tesk, Plim $n_plim"
close() { local d=$(($1 - $2)); [ ${d#-} -le 3 ]; }
check "they walked some way" test "$n_mubo" -ge 14
check "Tesk walks three times Mubo's speed" close "$n_tesk" "$n_mubo"
check "Plim walks four times Mubo's speed" close "$n_plim" "$n_mubo"
check "Tesk's steps are 3 pixels" test $((($(top_of Tesk "$sample") + 50) % 3)) -eq 0
check "Plim's steps are 4 pixels" test $((($(top_of Plim "$sample") + 50) % 4)) -eq 0
rest_around $PX $PY "at the first place"

# Far from every window, over the bare desktop: down and right, then the opposite corner.
for target in "880 560 down and right" "300 140 up and left"; do
  read -r x y what <<<"$target"
  check "the pointer moves $what through X" move_pointer "$x" "$y"
  check "the pointer is over the bare desktop $what" pointer_over_root
  rest_around "$x" "$y" "$what"
done
finish
