#!/usr/bin/env bash
# The program's whole job, driven like a user: started with no settings file, the rabbit's menu
# opens the settings window on his slot; a file with a Japanese path dropped the way a Linux file
# manager drops it lands in his field; the close button saves it; a click on the rabbit opens the
# file with the program its type is associated with (the marker program, which records what it
# was given); the tray menu's exit item ends the program with exit code 0; started again, the
# assignment and the characters are back, and a double click on the tray icon opens the window on
# the first slot. Run in the Japanese code page (932) and in Wine's default one (1252).
source "$(dirname "$0")/lib.sh"
DROP="/usr/bin/python3 $(dirname "$0")/xdnd_drop.py"
CODE_PAGE=${TIVOLU_ANSI_CODE_PAGE:-932}
# Wine takes a program's code page from its locale: 932 from the Japanese one the test environment
# sets, 1252 from a locale without a language.
[ "$CODE_PAGE" = 932 ] || export LANG=C.UTF-8
TYPE_KEY='HKEY_CLASSES_ROOT\TivoluJourney.File'

work=$(mktemp -d)
program="$work/program"
mkdir -p "$program" "$work/資料 フォルダ"
cp "$TIVOLU_EXE" "$program/tivolu.exe"
file="$work/資料 フォルダ/メモ 起動.tivolujourney"
echo memo >"$file"
assigned=$(windows_path "$file")
TIVOLU_MARKER_LOG=$(windows_path "$work/marker.log")
export TIVOLU_MARKER_LOG

# The file type opens with the marker program.
wine reg add 'HKEY_CLASSES_ROOT\.tivolujourney' /ve /d TivoluJourney.File /f >/dev/null 2>&1
wine reg add "$TYPE_KEY\\shell\\open\\command" /ve /f \
  /d "\"$(windows_path "$TIVOLU_BUILD/marker.exe")\" \"%1\"" >/dev/null 2>&1
cleanup() {
  wine reg delete 'HKEY_CLASSES_ROOT\.tivolujourney' /f >/dev/null 2>&1
  wine reg delete "$TYPE_KEY" /f >/dev/null 2>&1
  rm -rf "$work"
}

start() {
  start_program "$program/tivolu.exe"
  trap 'stop_program; cleanup' EXIT
  for c in "${CHARACTERS[@]}"; do check "$1: $c appears" wait_until 60 window_shown "$c"; done
  check "$1: start-up ends" wait_until 60 started_up
}

# only_enabled N: the field of slot N (1 to 4) is the only one enabled.
only_enabled() { [ "$(edit_fields | cut -c1 | tr -d '\n')" = "$(printf '%0*d' 4 0 | sed "s/0/1/$1")" ]; }

# click_menu_item FIRST|LAST: clicks that item of the open popup menu.
click_menu_item() {
  local left top right bottom y
  read -r left top right bottom < <(probe menu) || return 1
  if [ "$1" = FIRST ]; then y=$((top + 10)); else y=$((bottom - 10)); fi
  move_pointer $(((left + right) / 2)) $y
  sleep 0.3
  xdotool click 1
}

ini_is_unicode() { [ "$(head -c 2 "$program/tivolu.ini" | od -An -tx1 | tr -d ' ')" = fffe ]; }
# The settings file's text: UTF-16 after its byte-order mark, else in the code page.
ini_text() {
  if ini_is_unicode; then
    tail -c +3 "$program/tivolu.ini" | iconv -f UTF-16LE -t UTF-8
  else
    iconv -f "CP$CODE_PAGE" -t UTF-8 <"$program/tivolu.ini"
  fi
}
ini_is_ansi() { ! ini_is_unicode; }

probe cursor 500 100 >/dev/null
start "first start"
check "first start: no settings file" test ! -e "$program/tivolu.ini"

# The rabbit's menu, its one item: the window opens on his slot.
check "a point on the rabbit" point_at_tesk
echo "rabbit at $TESK"
# shellcheck disable=SC2086
right_press $TESK
check "a right click on the rabbit opens his menu" wait_until 10 probe menu
click_menu_item FIRST
check "its item opens the settings window" wait_until 10 settings_shown
check "on the rabbit's slot: only the second field is enabled" wait_until 5 only_enabled 2

# Dropped over the first field: the selected slot's field takes it.
read -r left top < <(probe info "$SETTINGS" | sed 's/left=\([-0-9]*\) top=\([-0-9]*\).*/\1 \2/')
check "the drop is accepted" $DROP $((left + 200)) $((top + 66)) "$file"
check "the second field holds the whole Windows path" wait_until 10 output_is "$assigned" field_text 2
check "the other fields stay empty" test -z "$(field_text 1)$(field_text 3)$(field_text 4)"

# The close button saves and closes.
move_pointer $((left + 324)) $((top + 10))
sleep 0.3
xdotool click 1
check "the close button closes the window" wait_until 10 settings_hidden
check "the settings file is written" wait_until 10 test -s "$program/tivolu.ini"
ini_text
check "the settings file holds the file for the rabbit" grep -qxF "Char02=$assigned" <(ini_text | tr -d '\r')
check "and every character shown" test "$(ini_text | tr -d '\r' | grep -c '^Char0[1-4]=1$')" = 4
if [ "$CODE_PAGE" = 932 ]; then
  check "in code page 932 the file is in that code page" ini_is_ansi
else
  check "in code page $CODE_PAGE the Japanese path makes the file UTF-16" ini_is_unicode
fi

# A click on the rabbit opens the file with its type's program.
check "the rabbit is found again" point_at_tesk
xdotool click 1
check "the marker program runs" wait_until 30 test -s "$work/marker.log"
sleep 1
check "it was given exactly the assigned file, once" test "$(cat "$work/marker.log")" = "$assigned"
cat "$work/marker.log"

# The tray menu's last item ends the program; nothing more is written.
saved=$(md5sum <"$program/tivolu.ini")
tray_icon
right_press $ICON_X $ICON_Y
check "a right press on the tray icon opens its menu" wait_until 10 probe menu
click_menu_item LAST
check "the exit item ends the program" wait_until 30 program_ended
check "exit code 0" test "$(exit_code)" = 0
check "the settings file is unchanged by the exit" test "$(md5sum <"$program/tivolu.ini")" = "$saved"
stop_program

# Started again: the same characters and the assignment are back; the tray icon's double click.
start "second start"
check "second start: the tray icon shows" wait_until 30 tray_shown
check "a double click on the tray icon opens the settings window" open_settings
check "on the first slot: only the first field is enabled" wait_until 5 only_enabled 1
check "second start: the rabbit's file is in his field" test "$(field_text 2)" = "$assigned"
probe close "$SETTINGS"
check "the window's close command saves and closes it" wait_until 10 settings_hidden
probe close Mubo
check "closing the main window ends the program" wait_until 60 program_ended
check "exit code 0 again" test "$(exit_code)" = 0
finish
