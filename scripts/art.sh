#!/usr/bin/env bash
# Turns the art sources under assets/art/ into the frame pictures, their outlines, the program's
# other pictures (build/art/pictures/) and the contact sheets (build/art/contact-sheet*.png).
# Needs build/host/artc: run through `make art`.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build/art
build/host/artc assets/art build/art
touch build/art/stamp
