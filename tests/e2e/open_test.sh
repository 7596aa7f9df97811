#!/usr/bin/env bash
# Under Wine a click on a character whose file is of a type the Wine prefix has no program for
# opens the file on the Linux desktop: the program hands it to Wine's winebrowser, which runs
# xdg-open with the file's address. A stand-in xdg-open records what it was given.
source "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
mkdir -p "$work/bin" "$work/program" "$work/写真 フォルダ"
cp "$TIVOLU_EXE" "$work/program/tivolu.exe"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

file="$work/写真 フォルダ/夏 #1 & 100%.tivolunone"
echo photo >"$file"
# The rabbit's file, stored in UTF-16 as the program stores paths its code page cannot hold.
{
  printf '\xff\xfe'
  printf '[Execute]\r\nChar02=%s\r\n' "$(windows_path "$file")" | iconv -f UTF-8 -t UTF-16LE
} >"$work/program/tivolu.ini"

probe cursor 500 100 >/dev/null
start_program "$work/program/tivolu.exe"
trap 'stop_program; rm -rf "$work"' EXIT
check "start-up ends" wait_until 60 started_up
check "a point on the rabbit" point_at_tesk
check "the program is running" program_pids
check "COM's libraries are not loaded before the first launch" program_lacks ole32.dll
xdotool click 1
check "the desktop's opener is run" wait_until 30 test -s "$work/opened"
check "the launch loaded them" program_maps ole32.dll
sleep 1
cat "$work/opened"
opened_path() {
  /usr/bin/python3 -c 'import sys, urllib.parse
lines = open(sys.argv[1], encoding="utf-8").read().splitlines()
print(len(lines), urllib.parse.unquote(lines[0].removeprefix("file://")) if lines else "")' "$work/opened"
}
check "once, with the address of exactly that file" test "$(opened_path)" = "1 $file"

probe close Mubo
check "the program ends" wait_until 60 program_ended
finish
