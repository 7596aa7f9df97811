#!/usr/bin/env bash
# Writes the Windows download: OUT/tivolu-<version>.zip (OUT is dist/ unless given) holding the
# shipped 32-bit build/tivolu.exe and readme.txt for Windows users (Japanese and English, UTF-8
# with a byte-order mark and CRLF lines, as Notepad reads it). The version is the project's one
# setting in CMakeLists.txt, which the program's version resource carries too.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-dist}
version=$(sed -nE 's/^project\(tivolu VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "dist: no version in CMakeLists.txt" >&2; exit 1; }
exe=build/tivolu.exe
[ -f "$exe" ] || { echo "dist: $exe is missing (run make first)" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/tivolu.exe"
{ printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/" -e 's/$/\r/' assets/dist/readme.txt; } \
  >"$stage/readme.txt"
mkdir -p "$out"
zip=$out/tivolu-$version.zip
rm -f "$zip"
python3 - "$zip" "$stage" <<'PY'
import os, sys, zipfile
zip_path, stage = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as z:
    for name in ("tivolu.exe", "readme.txt"):
        z.write(os.path.join(stage, name), name)
PY
echo "wrote $zip"
python3 -m zipfile -l "$zip"
