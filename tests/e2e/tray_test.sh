#!/usr/bin/env bash
# The notification-area icon end to end, with a program whose icon is active (traydemo): the icon
# shows in Wine's system tray window; a real double click on it raises OnDblClick after the
# press-and-release events; a right press opens the menu at the pointer, the menu stays open while
# the program's timer ticks, and a click on an item runs the item's handler once the menu has
# closed; the exit item ends the program and takes the icon away.
source "$(dirname "$0")/lib.sh"

LOG=$(mktemp)
# The program keeps writing to its log: each step reads only the lines after its mark.
MARK=0
mark() { MARK=$(wc -l <"$LOG"); }
since_mark() { tail -n +$((MARK + 1)) "$LOG"; }
logged() { since_mark | grep -qx -- "$1"; }
items_shown() { [ "$(since_mark | grep -c '^item ')" = 5 ]; }
# item CAPTION-START: the centre of that item of the open menu, as "X Y".
item_centre() {
  since_mark | grep -m1 "^item $1" |
    while read -r _ _ left top right bottom; do echo $(((left + right) / 2)) $(((top + bottom) / 2)); done
}

probe cursor 640 900 >/dev/null
start_program "$TIVOLU_BUILD/traydemo.exe" "$(winepath -w "$LOG" 2>/dev/null)"
check "the program activates its icon" wait_until 60 logged active
check "Wine's system tray window appears" wait_until 30 tray_shown
tray_icon
echo "tray window at $X,$Y size ${WIDTH}x$HEIGHT"

# The icon's picture is drawn there: many colours, not a blank window.
colours=$(import -window root -crop 16x16+$((X + 2))+$((Y + 2)) -format '%k' info: 2>/dev/null)
echo "colours in the icon's place: $colours"
check "the icon's picture shows in the tray window" test "${colours:-0}" -ge 8

mark
xdotool mousemove --sync $ICON_X $ICON_Y
sleep 0.3
xdotool click --repeat 2 --delay 120 1
check "a double click raises OnDblClick" wait_until 10 logged OnDblClick
at="$ICON_X $ICON_Y"
expected=$(printf '%s\n' "OnMouseDown left 0 $at" OnClick "OnMouseUp left 0 $at" OnDblClick \
  "OnMouseDown left 64 $at" OnClick "OnMouseUp left 0 $at")
double_click_events() { [ "$(since_mark | grep -v '^OnMouseMove')" = "$expected" ]; }
check "the double click's events in order, at the pointer" wait_until 5 double_click_events
since_mark | grep -v '^OnMouseMove'

# A right press opens the menu at the pointer; the release comes while it is open.
mark
right_press $ICON_X $ICON_Y
check "a right press raises OnMouseDown, then OnPopUp" wait_until 10 logged OnPopUp
check "the menu opens with its five items" wait_until 10 items_shown
since_mark | grep '^item '
read -r _ _ left top _ < <(since_mark | grep -m1 '^item ')
check "the menu opens at the pointer" test "${left:-0}" -ge $ICON_X -a "${top:-0}" -ge $ICON_Y
# The menu stays open for a second of timer ticks, then a click on the information item.
sleep 1
read -r x y < <(item_centre 'インフォメーション')
xdotool mousemove --sync "$x" "$y"
sleep 0.3
xdotool click 1
check "clicking an item runs its handler after the menu has closed" wait_until 10 logged "click N2"
stayed_open() { n=$(since_mark | sed -n 's/^ticks //p' | tail -n 1); [ "${n:-0}" -ge 15 ]; }
check "the menu stayed open while the timer ticked" wait_until 5 stayed_open
since_mark | grep -v '^OnMouseMove'

# The exit item ends the program, and the icon goes with it.
mark
right_press $ICON_X $ICON_Y
check "the menu opens again" wait_until 10 items_shown
read -r x y < <(item_centre '終了する')
xdotool mousemove --sync "$x" "$y"
sleep 0.3
xdotool click 1
check "the exit item ends the program" wait_until 30 program_ended
check "exit code 0" test "$(exit_code)" = 0
check "the icon leaves the tray" wait_until 10 output_is "" tray_window
rm -f "$LOG"
finish
