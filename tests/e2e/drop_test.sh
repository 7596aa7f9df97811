#!/usr/bin/env bash
# Files dropped the way a Linux file manager drops them (an X client speaking XDND, offering
# text/uri-list) arrive in a Wine window as WM_DROPFILES with their whole Windows paths, Japanese
# names, blanks and several files at once included. The journey tests drop onto the settings
# window with the same tool.
source "$(dirname "$0")/lib.sh"
DROP="/usr/bin/python3 $(dirname "$0")/xdnd_drop.py"

work=$(mktemp -d)
trap 'kill $recorder 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
wine "$PROBE" recorder 300 300 200 150 "$(winepath -w "$work/log")" >/dev/null 2>&1 &
recorder=$!
check "the drop target is up" wait_until 30 grep -q ready "$work/log"

mkdir -p "$work/資料 フォルダ"
first="$work/資料 フォルダ/メモ 1.txt" second="$work/100% & #2 😀.txt"
touch "$first" "$second"
drops() { grep -a '^drop ' "$work/log" | tr -d '\r'; }

check "a drop of one file is accepted" $DROP 400 375 "$first"
check "it arrives as its whole Windows path" \
  wait_until 10 output_is "drop $(winepath -w "$first")" drops

check "a drop of two files is accepted" $DROP 320 310 "$first" "$second"
expected=$(printf 'drop %s\n' "$(winepath -w "$first")" "$(winepath -w "$first")" \
  "$(winepath -w "$second")")
check "both arrive, in the drop's order" wait_until 10 output_is "$expected" drops

check "a point outside every window has no drop target" test "$($DROP 5 5 "$first" 2>&1; echo $?)" != 0
finish
