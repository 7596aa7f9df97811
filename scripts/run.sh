#!/usr/bin/env bash
# Starts the program under Wine on $DISPLAY. Without a display it runs on a virtual one: the
# characters walk toward a pointer placed in the middle for a few seconds, a screenshot is saved
# to build/screenshot.png, and the program is closed.
set -uo pipefail
source "$(dirname "$0")/winenv.sh"
cd "$ROOT"
[ "$WINE_BITS" = 32 ] || make --no-print-directory windows64 || exit 1

if [ -n "${DISPLAY:-}" ]; then
  winenv_start
  trap winenv_stop EXIT
  wine "$TIVOLU_RUN_EXE"
  exit 0
fi

winenv_start virtual || exit 1
trap winenv_stop EXIT
# A desktop to walk on.
convert -size 1280x1024 gradient:'#6a9fd4-#24476e' build/desktop.png
display -window root build/desktop.png
wine "$TIVOLU_RUN_EXE" >/dev/null 2>&1 &
program=$!
if ! wait_until 60 xdotool search --name '^Quarn$'; then
  echo "the program did not show its windows" >&2
  exit 1
fi
xdotool mousemove 560 330
sleep 5 # let the characters walk toward the pointer before the picture is taken
import -window root build/screenshot.png
wine "$WIN_BUILD/probe.exe" close Mubo >/dev/null
wait "$program"
echo "no display: ran on a virtual one; screenshot saved to build/screenshot.png"
