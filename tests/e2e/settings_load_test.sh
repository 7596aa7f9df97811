#!/usr/bin/env bash
# The settings load at start-up, end to end: a copy of the program in a folder of its own, with no
# settings file, with characters stored hidden, with launch files stored, and with a damaged file.
# After start-up every character is shown exactly when its slot is stored shown, the settings
# window exists hidden and opens with the stored files in its fields, the icon is in Wine's system
# tray and the program has no task-bar button; nothing is written at start-up.
source "$(dirname "$0")/lib.sh"

TITLE='Launcher Tivolu! ～Morvane～'
no_taskbar_button() { probe info "$TITLE" | grep -q 'visible=0'; }
# The settings window exists, hidden, and start-up has ended.
settings_loaded() { probe info "$SETTINGS" | grep -q 'visible=0' && started_up; }
# The texts of the four edit fields, in slot order.
edit_texts() { edit_fields | cut -c3-; }

# run_case NAME [INI-BYTES-FILE]: starts a copy of the program in a new folder, with that file as
# its tivolu.ini, and waits until start-up has finished (the settings window exists).
run_case() {
  echo "== $1"
  CASE_DIR=$(mktemp -d)
  cp "$TIVOLU_EXE" "$CASE_DIR/tivolu.exe"
  [ -n "${2:-}" ] && cp "$2" "$CASE_DIR/tivolu.ini"
  start_program "$CASE_DIR/tivolu.exe"
  check "$1: start-up finishes" wait_until 60 settings_loaded
}

# Closes the settings window by its close command (which saves), so that the program can end.
close_settings() {
  probe close "$SETTINGS"
  check "the settings window closes" wait_until 10 settings_hidden
}

# end_case NAME: closes the main window; the program ends by itself with exit code 0.
end_case() {
  probe close Mubo
  check "$1: the program ends" wait_until 60 program_ended
  check "$1: exit code 0" test "$(exit_code)" = 0
  stop_program
  rm -rf "$CASE_DIR"
}

# shown_exactly NAME...: those characters are visible, the others not.
shown_exactly() {
  local c
  for c in "${CHARACTERS[@]}"; do
    if [[ " $* " == *" $c "* ]]; then window_shown "$c" || return 1
    else ! window_shown "$c" || return 1; fi
  done
}
# stays_so SECONDS NAME...: shown_exactly holds at every look for that long (the walkers tick).
stays_so() {
  local seconds=$1; shift
  local end=$((SECONDS + seconds))
  while [ $SECONDS -lt $end ]; do shown_exactly "$@" || return 1; sleep 0.2; done
}

running_for() { sleep "$1"; ! program_ended; }

probe cursor 1200 1000 >/dev/null

run_case "no settings file"
check "no file: all four characters appear" wait_until 30 shown_exactly Mubo Tesk Plim Quarn
check "no file: no task-bar button" no_taskbar_button
check "no file: the icon is in the system tray" wait_until 30 tray_shown
check "no file: the file is not created at start-up" test ! -e "$CASE_DIR/tivolu.ini"
check "no file: the settings window opens" open_settings
check "no file: four empty edit fields" test "$(edit_texts | tr -d '\n')" = ""
check "no file: four edit fields" test "$(probe children "$SETTINGS" | grep -c '^Edit ')" = 4
close_settings
end_case "no file"

INI=$(mktemp)
# In UTF-16 with its byte-order mark, which the profile functions read whatever the code page.
{
  printf '\xff\xfe'
  printf '[Visible]\r\nChar01=0\r\n[Execute]\r\nChar02=C:\\ファイル\\起動.txt\r\nChar04=D:\\x y.exe\r\n' |
    iconv -f UTF-8 -t UTF-16LE
} >"$INI"
run_case "Mubo hidden" "$INI"
check "Mubo hidden: the others appear" wait_until 30 shown_exactly Tesk Plim Quarn
check "Mubo hidden: Mubo never appears while the loop runs" stays_so 3 Tesk Plim Quarn
check "Mubo hidden: no task-bar button" no_taskbar_button
check "Mubo hidden: nothing written at start-up" cmp -s "$INI" "$CASE_DIR/tivolu.ini"
check "Mubo hidden: the settings window opens" open_settings
stored=$(printf '%s\n' '' 'C:\ファイル\起動.txt' '' 'D:\x y.exe' | tr '\n' '|')
check "Mubo hidden: each stored file is in its slot's field" \
  test "$(edit_texts | tr '\n' '|')" = "$stored"
close_settings
end_case "Mubo hidden"

printf '[Visible]\r\nChar03=0\r\n' >"$INI"
run_case "Plim hidden" "$INI"
check "Plim hidden: the others appear" wait_until 30 shown_exactly Mubo Tesk Quarn
check "Plim hidden: Plim stays hidden" stays_so 2 Mubo Tesk Quarn
end_case "Plim hidden"

printf '[Visible]\r\nChar01=0\r\nChar02=0\r\nChar03=0\r\nChar04=0\r\n' >"$INI"
run_case "all hidden" "$INI"
check "all hidden: no character shows" stays_so 3
check "all hidden: the icon is in the system tray" wait_until 30 tray_shown
check "all hidden: no task-bar button" no_taskbar_button
end_case "all hidden"

# A damaged file: binary noise, broken lines, a huge value, values that are no booleans.
{
  head -c 3000 /dev/urandom
  printf '\r\n[Visible\r\nChar01\r\n[Visible]\r\nChar02=maybe\r\nChar03=\r\n[Execute]\r\nChar01='
  head -c 70000 /dev/zero | tr '\0' 'x'
  printf '\r\n=\r\n\0\0\0'
} >"$INI"
run_case "damaged file" "$INI"
check "damaged file: the characters appear" wait_until 30 window_shown Tesk
check "damaged file: no error box" test -z "$(probe dialog "$TITLE")"
check "damaged file: the program keeps running" running_for 3
end_case "damaged file"
rm -f "$INI"
finish
