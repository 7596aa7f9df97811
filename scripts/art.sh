#!/usr/bin/env bash
# Turns the art sources under assets/art/ into the frame bitmaps, their outlines and the contact sheet.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build/art
if [ -x build/host/artc ]; then
  build/host/artc assets/art build/art
fi
touch build/art/stamp
