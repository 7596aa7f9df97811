#!/usr/bin/env bash
# A failure while a character window is built at start-up is shown in a message box captioned
# with the title; once it is dismissed the program ends with exit code 0.
source "$(dirname "$0")/lib.sh"

# For the main window and for each of the three it opens: a copy of the program whose stored
# description of that window is damaged. The failure is shown once; the program does not go on
# half-built.
title='Launcher Tivolu! ～Morvane～'
not_shown() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
for form in TForm1 TForm2 TForm3 TForm4; do
  echo "damaged: $form"
  broken=$(mktemp -d)/tivolu-broken.exe
  python3 - "$TIVOLU_EXE" "$broken" "$form" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
mark = b"TPF0\x06" + sys.argv[3].encode()
at = data.find(mark)
assert at >= 0 and data.find(mark, at + 1) < 0, "window description not found once"
data[at] = ord("X")
open(sys.argv[2], "wb").write(data)
PY

  start_program "$broken"
  check "$form: an error box captioned with the title appears" wait_until 60 probe dialog "$title"
  text=$(probe dialog "$title")
  echo "message: $text"
  check "$form: it says what went wrong" test "$text" = "ウィンドウ記述ではありません"
  for character in "${CHARACTERS[@]}"; do
    check "$form: $character was not shown" not_shown "$character"
  done
  probe dismiss "$title"
  check "$form: the program ends once the box is dismissed" wait_until 60 program_ended
  check "$form: exit code 0" test "$(exit_code)" = 0
  rm -rf "$(dirname "$broken")"
done
finish
