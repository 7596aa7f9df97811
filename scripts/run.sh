#!/usr/bin/env bash
# Starts the program under Wine on $DISPLAY. Without a display it runs on a virtual one, waits
# for the characters to appear and walk a little, saves build/screenshot.png and stops.
set -uo pipefail
source "$(dirname "$0")/winenv.sh"
cd "$ROOT"

if [ -n "${DISPLAY:-}" ]; then
  winenv_start
  trap winenv_stop EXIT
  wine build/tivolu.exe
  exit 0
fi

winenv_start virtual || exit 1
trap winenv_stop EXIT
wine build/tivolu.exe >/dev/null 2>&1 &
if ! wait_until 60 xdotool search --name '^Quarn$'; then
  echo "the program did not show its windows" >&2
  exit 1
fi
xdotool mousemove 640 400
sleep 3 # let the characters walk toward the pointer before the picture is taken
import -window root build/screenshot.png
echo "no display: ran on a virtual one; screenshot saved to build/screenshot.png"
