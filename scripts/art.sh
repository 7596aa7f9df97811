#!/usr/bin/env bash
# Turns the art sources under assets/art/ into the frame pictures, their outlines, the program's
# other pictures (build/art/pictures/) and the contact sheets (build/art/contact-sheet*.png).
# Needs build/host/artc: run through `make art`. Nothing is rewritten while the pictures are as
# new as their sources and artc: tests read them while a later build runs beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
stamp=build/art/stamp
if [ -e $stamp ] && [ -z "$(find assets/art build/host/artc -newer $stamp -print -quit)" ]; then
  exit 0
fi
mkdir -p build/art
build/host/artc assets/art build/art
touch $stamp
