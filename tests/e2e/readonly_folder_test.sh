#!/usr/bin/env bash
# The program in a folder it cannot write to (bound read-only over itself, as a disc or a
# read-only share is): started, a file dropped on the settings window and the window closed with
# the close button: it closes, the settings land in the user's application-data folder of the
# Wine prefix, the program's folder stays as it was, and the next start shows the assignment.
# With the user's folder read-only too, the close button shows one error box; closed again, the
# window closes and the characters walk, the assignment still in its field.
source "$(dirname "$0")/lib.sh"
DROP="/usr/bin/python3 $(dirname "$0")/xdnd_drop.py"
TITLE='Launcher Tivolu! ～Morvane～'

work=$(mktemp -d)
program="$work/program"
mkdir -p "$program" "$work/資料"
cp "$TIVOLU_EXE" "$program/tivolu.exe"
file="$work/資料/メモ.txt"
echo memo >"$file"
assigned=$(windows_path "$file")
appdata=$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
user_dir="$(winepath -u "$appdata" 2>/dev/null)"
user_dir="${user_dir%/}/tivolu"
# Nothing else in the test prefix uses this folder (the end-to-end tests take turns with the
# display); it is removed before and after.
rm -rf "$user_dir"
mounted=()
cleanup() {
  stop_program
  local m
  for m in "${mounted[@]}"; do umount "$m"; done
  rm -rf "$work" "$user_dir"
}
trap cleanup EXIT
# read_only DIR: DIR cannot be written from now on, not even by root.
read_only() {
  mount --bind "$1" "$1" || return 1
  mounted=("$1" "${mounted[@]}")
  mount -o remount,ro,bind "$1" "$1"
}
if ! read_only "$program"; then
  echo "skipped: mounting needs root (cannot bind $program read-only)"
  exit 0
fi
check "the program's folder cannot be written" test "$(touch "$program/x" 2>&1; echo $?)" != 0

no_error_box() { [ -z "$(probe dialog "$TITLE")" ]; }
user_ini_holds() { iconv -f CP932 -t UTF-8 <"$user_dir/tivolu.ini" | tr -d '\r' | grep -qxF "$1"; }
click_close_button() {
  move_pointer $((LEFT + 324)) $((TOP + 10))
  sleep 0.3
  xdotool click 1
}
# The characters walk: someone moves toward the pointer, put where nobody stands.
walking() {
  local before
  before=$(probe where "${CHARACTERS[@]}")
  move_pointer "$1" "$2"
  wait_until 10 output_is_not "$before" probe where "${CHARACTERS[@]}"
}
start() {
  start_program "$program/tivolu.exe"
  trap cleanup EXIT
  check "$1: start-up ends" wait_until 60 started_up
  check "$1: the icon is in the system tray" wait_until 30 tray_shown
}

probe cursor 640 500 >/dev/null
start "first start"
check "the settings window opens from the tray" open_settings
check "the drop is accepted" $DROP $((LEFT + 200)) $((TOP + 66)) "$file"
check "the first field holds the dropped file" wait_until 10 output_is "$assigned" field_text 1
click_close_button
check "the close button closes the window" wait_until 10 settings_hidden
check "no error box" no_error_box
check "the settings are in the user's folder" wait_until 10 test -s "$user_dir/tivolu.ini"
check "with the dropped file for the first slot" user_ini_holds "Char01=$assigned"
check "the program's folder holds only the program" test "$(ls -A "$program")" = tivolu.exe
check "the characters walk again" walking 200 800
probe close Mubo
check "the program ends" wait_until 60 program_ended
stop_program

start "second start"

# Neither place can be written: one error box, then the second close closes.
saved=$(md5sum <"$user_dir/tivolu.ini")
check "the user's folder is made read-only" read_only "$user_dir"
check "the settings window opens again" open_settings
check "second start: the assignment is back" test "$(field_text 1)" = "$assigned"
click_close_button
check "the close button shows an error box" wait_until 30 probe dialog "$TITLE"
message=$(probe dialog "$TITLE")
echo "message: $message"
check "it names the user's file" test "$message" = "$(windows_path "$user_dir/tivolu.ini") に書き込めません"
probe dismiss "$TITLE"
check "the box goes" wait_until 10 no_error_box
check "the window stays open" settings_shown
click_close_button
check "the second close closes the window" wait_until 10 settings_hidden
check "without a second error box" no_error_box
check "the assignment stays in its field" test "$(field_text 1)" = "$assigned"
check "the characters walk" walking 1000 200
check "and no error box came later" no_error_box
check "the user's file is as it was" test "$(md5sum <"$user_dir/tivolu.ini")" = "$saved"
probe close Mubo
check "the program ends again" wait_until 60 program_ended
check "exit code 0" test "$(exit_code)" = 0
finish
