#!/usr/bin/env bash
# On a 192-DPI screen (the Wine prefix set to it for this run, the way at_dpi.sh says) the real
# program draws everything at twice its size, in whole pixels: the characters follow the pointer
# moved through X and come to rest in their zones scaled by 2, a right click opens a character's
# menu, and the settings window opens 700 x 700 and closes by its close button where it shows.
# Screenshots of the characters and of the settings window land in the build folder.
if [ -z "${TIVOLU_TEST_DPI:-}" ]; then
  exec bash "$(dirname "$0")/../win32/support/at_dpi.sh" 192 bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
K=$((TIVOLU_TEST_DPI / 96))
export TIVOLU_SCALE=$K
SHOTS=${TIVOLU_BUILD}

# region_scaled NAME W H: the outline lies inside the frame of W x H times K and every edge of
# it falls on a whole block.
region_scaled() {
  probe region "$1" | awk -v k="$K" -v w="$2" -v h="$3" '
    { n++; if ($3 > w * k || $4 > h * k || $1 < 0 || $2 < 0) bad++
      for (i = 1; i <= 4; i++) if ($i % k) bad++ }
    END { exit !(n > 0 && !bad) }'
}

# Close to where the characters start (at twice their stored places), so that they arrive soon.
PX=1000 PY=60
check "the pointer is placed through X" move_pointer $PX $PY
start_program
for c in "${CHARACTERS[@]}"; do check "$c appears" wait_until 60 window_shown "$c"; done
check "start-up has ended" wait_until 60 started_up

check "Mubo's window is twice its stored size" test "$(probe_field Mubo width)x$(probe_field Mubo height)" = "$((132 * K))x$((90 * K))"
check "Mubo's outline is his frame in 2 x 2 blocks" region_scaled Mubo 46 56
for c in Tesk Plim Quarn; do
  check "$c's outline is the frame in 2 x 2 blocks" region_scaled "$c" 24 32
done

check "everyone comes to rest" wait_until 120 at_rest
final=$(where)
echo "$final"
check "Mubo rests in his zone scaled by 2" in_zone Mubo 0 $((32 * K)) $PX $PY
check "Tesk rests in his zone scaled by 2" in_zone Tesk $((-24 * K)) $((12 * K)) $PX $PY
check "Plim rests in his zone scaled by 2" in_zone Plim $((-48 * K)) $((24 * K)) $PX $PY
check "Quarn came to rest by the character it chases" quarry_near
import -window root -crop 440x260+$((PX - 220))+0 +repage "$SHOTS/characters-${K}x.png"

# The rabbit's menu, and its item: the settings window on his slot.
click_menu_item() {
  local left top right bottom
  read -r left top right bottom < <(probe menu) || return 1
  move_pointer $(((left + right) / 2)) $((top + 10 * K))
  sleep 0.3
  xdotool click 1
}
check "a point on the rabbit" point_at_tesk
# shellcheck disable=SC2086
right_press $TESK
check "a right click on the rabbit opens his menu" wait_until 10 probe menu
click_menu_item
check "its item opens the settings window" wait_until 10 settings_shown
check "the settings window is 700 x 700" test "$(probe_field "$SETTINGS" width)x$(probe_field "$SETTINGS" height)" = "$((350 * K))x$((350 * K))"
left=$(probe_field "$SETTINGS" left) top=$(probe_field "$SETTINGS" top)
check "it opens at 20 x 2, 20 x 2" test "$left,$top" = "$((20 * K)),$((20 * K))"
sleep 0.5
import -window root -crop $((350 * K))x$((350 * K))+$left+$top +repage "$SHOTS/settings-window-${K}x.png"
move_pointer $((left + 324 * K)) $((top + 10 * K))
sleep 0.3
xdotool click 1
check "its close button, where it shows, closes it" wait_until 10 settings_hidden
finish
