#!/usr/bin/env bash
# The shipped program: a 32-bit Windows GUI program for i386 that needs only Windows' own DLLs.
# It is checked as built, whichever build (32- or 64-bit) the other tests run.
source "$(dirname "$0")/lib.sh"
TIVOLU_EXE=${TIVOLU_SHIPPED:-$TIVOLU_EXE}

headers=$(LC_ALL=C i686-w64-mingw32-objdump -p "$TIVOLU_EXE")
check "a PE32 file for i386" grep -q 'file format pei-i386' <<<"$headers"
check "the GUI subsystem" grep -qE '^Subsystem\s+00000002' <<<"$headers"
check "a 32-bit optional header" grep -qE '^Magic\s+010b' <<<"$headers"
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'a-z' 'A-Z' | sort -u)
echo "imports: $(echo $dlls)"
system_dlls='^(KERNEL32|USER32|GDI32|SHELL32|ADVAPI32|COMCTL32|MSVCRT|OLE32)\.DLL$'
check "imports only Windows' own DLLs" test -z "$(grep -vE "$system_dlls" <<<"$dlls")"
check "imports the window manager and graphics" grep -qx 'USER32.DLL' <<<"$dlls"
check "carries its manifest" grep -aq 'requestedExecutionLevel level="asInvoker"' "$TIVOLU_EXE"
check "its manifest declares per-monitor DPI awareness, with the older forms" \
  grep -aqE '<dpiAware [^>]*>true/pm</dpiAware>.*<dpiAwareness [^>]*>PerMonitorV2, PerMonitor<' \
  <(tr -d '\r\n' <"$TIVOLU_EXE")
# Version strings are UTF-16 inside the resource.
check "carries its version information" \
  env LC_ALL=C grep -aqP 'P\x00r\x00o\x00d\x00u\x00c\x00t\x00V\x00e\x00r\x00s\x00i\x00o\x00n' "$TIVOLU_EXE"
# Resources as "TYPE NAME LANGUAGE SIZE" lines (hexadecimal, as objdump prints them).
resources=$(awk '
  /^[0-9a-f]+   Entry: ID:/ { type = $4; sub(/,$/, "", type) }
  /^[0-9a-f]+     Entry: name:/ { name = $0; sub(/.*\]: /, "", name); sub(/, Value.*/, "", name) }
  /^[0-9a-f]+     Entry: ID:/ { name = $4; sub(/,$/, "", name) }
  /^[0-9a-f]+       Entry: ID:/ { lang = $4; sub(/,$/, "", lang) }
  /Leaf: Addr:/ { size = $6; sub(/,$/, "", size); print type, name, lang, size }' <<<"$headers")
echo "resources:"; echo "$resources"
check "carries the check box glyph strip: bitmap CHECKBOX, language 1033, 19,208 bytes" \
  grep -qx '0x000002 CHECKBOX 0x000409 0x004b08' <<<"$resources"
check "carries its icon: the icon group MAINICON" grep -q '^0x00000e MAINICON 0x000409 ' <<<"$resources"
check "carries the icon's five images (16 to 96 pixels)" test "$(grep -c '^0x000003 ' <<<"$resources")" -eq 5
finish
