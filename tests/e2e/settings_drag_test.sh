#!/usr/bin/env bash
# The settings window follows the user's drag, driven with xdotool only: opened from the tray
# icon, dragged by its skin with a real press, moves and release, it stays where it was dropped;
# a click on the logo badge brings it back to 20, 20; dragged again, closed and opened again, it
# opens where it was last dropped.
source "$(dirname "$0")/lib.sh"

# The program under a name of its own whose windows Wine leaves unmanaged: without a window
# manager, Wine's move loop stalls for seconds after each move of a managed window, waiting for a
# manager, and loses the pointer's moves and release meanwhile (with a manager, the manager drags).
work=$(mktemp -d)
cp "$TIVOLU_EXE" "$work/tivolu-drag.exe"
UNMANAGED='HKCU\Software\Wine\AppDefaults\tivolu-drag.exe\X11 Driver'
wine reg add "$UNMANAGED" /v Managed /d N /f >/dev/null 2>&1
start_program "$work/tivolu-drag.exe"
trap 'stop_program; wine reg delete "$UNMANAGED" /f >/dev/null 2>&1; rm -rf "$work"' EXIT
check "start-up ends" wait_until 60 started_up
check "the tray icon shows" wait_until 30 tray_shown

settings_at() { [ "$(probe where "$SETTINGS")" = "$SETTINGS $1 $2" ]; }
open_from_tray() {
  tray_icon
  move_pointer $ICON_X $ICON_Y
  sleep 0.3
  xdotool click --repeat 2 --delay 120 1
  wait_until 10 settings_shown
}
# drag DX DY: presses on the window's bare skin (client 200, 100: no control there), moves the
# pointer by DX, DY in four steps and releases; then the pointer goes on, and the window must not
# follow.
drag() {
  local left top x y i
  read -r _ left top < <(probe where "$SETTINGS")
  x=$((left + 200)) y=$((top + 100))
  move_pointer $x $y
  sleep 0.3
  xdotool mousedown 1
  for i in 1 2 3 4; do
    sleep 0.1
    move_pointer $((x + $1 * i / 4)) $((y + $2 * i / 4))
  done
  sleep 0.3
  xdotool mouseup 1
  wait_until 10 settings_at $((left + $1)) $((top + $2)) || return 1
  move_pointer $((x + $1 + 40)) $((y + $2 + 40))
  sleep 1
  settings_at $((left + $1)) $((top + $2))
}
# click_at CLIENT-X CLIENT-Y: a click on that point of the settings window.
click_at() {
  local left top
  read -r _ left top < <(probe where "$SETTINGS")
  move_pointer $((left + $1)) $((top + $2))
  sleep 0.3
  xdotool click 1
}

check "a double click on the tray icon opens the settings window" open_from_tray
check "first shown at 20, 20" settings_at 20 20
check "dragged by its skin, it stays where it was dropped" drag 201 150
probe where "$SETTINGS"
click_at 30 10  # the logo badge
check "the logo badge brings it back to 20, 20" wait_until 5 settings_at 20 20
probe where "$SETTINGS"
check "dragged again" drag 300 99
dropped=$(probe where "$SETTINGS")
click_at $((306 + 18)) $((2 + 8))  # the close button
check "the close button closes it" wait_until 10 settings_hidden
check "opened again from the tray icon" open_from_tray
last_place() { [ "$(probe where "$SETTINGS")" = "$dropped" ]; }
check "it opens where it was last dropped" wait_until 5 last_place
probe where "$SETTINGS"
finish
