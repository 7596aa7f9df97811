#!/usr/bin/env bash
# A failure while the main window is built is shown in a message box captioned with the title;
# once it is dismissed the program ends with exit code 0.
source "$(dirname "$0")/lib.sh"

# A copy of the program whose stored description of the main window is damaged.
broken=$(mktemp -d)/tivolu-broken.exe
python3 - "$TIVOLU_EXE" "$broken" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
mark = b"TPF0\x06TForm1"
at = data.find(mark)
assert at >= 0 and data.find(mark, at + 1) < 0, "main window description not found once"
data[at] = ord("X")
open(sys.argv[2], "wb").write(data)
PY

start_program "$broken"
title='Launcher Tivolu! ～Morvane～'
check "an error box captioned with the title appears" wait_until 60 probe dialog "$title"
text=$(probe dialog "$title")
echo "message: $text"
check "it says what went wrong" test "$text" = "ウィンドウ記述ではありません"
check "no character window was shown" no_window Mubo
probe dismiss "$title"
check "the program ends once the box is dismissed" wait_until 60 program_ended
check "exit code 0" test "$(exit_code)" = 0
rm -rf "$(dirname "$broken")"
finish
