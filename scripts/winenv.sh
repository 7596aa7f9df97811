# Wine and X environment shared by `make test` and `make run`; source it, then call winenv_start.
# The Wine prefix and a Japanese locale live inside build/ and are created once; the private Xvfb
# display and Wine's server are started per run and stopped by winenv_stop.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build

# The shipped program is 32-bit. Some kernels run no 32-bit code (no IA-32 emulation), and there
# Wine runs only 64-bit programs: the tests and `make run` then use the 64-bit build of the same
# sources (build/win64), in a 64-bit prefix, through Wine's 64-bit loader.
if [ -z "${WINE_BITS:-}" ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then WINE_BITS=32; else WINE_BITS=64; fi
fi
export WINE_BITS
if [ "$WINE_BITS" = 32 ]; then
  WIN_BUILD=$BUILD/win TIVOLU_RUN_EXE=$BUILD/tivolu.exe
  export WINEARCH=win32 WINEPREFIX=${TIVOLU_WINEPREFIX:-$BUILD/wineprefix}
else
  WIN_BUILD=$BUILD/win64 TIVOLU_RUN_EXE=$BUILD/win64/tivolu.exe
  export WINEARCH=win64 WINEPREFIX=${TIVOLU_WINEPREFIX:-$BUILD/wineprefix}64
  # Debian's wine, wineboot and winepath pick the 32-bit loader whenever it is installed.
  export WINELOADER=/usr/lib/wine/wine64
  mkdir -p "$BUILD/wine64-bin"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$BUILD/wine64-bin/wine"
  for tool in wineboot winepath; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 %s.exe "$@"\n' "$tool" >"$BUILD/wine64-bin/$tool"
  done
  chmod +x "$BUILD"/wine64-bin/*
  case ":$PATH:" in *":$BUILD/wine64-bin:"*) ;; *) export PATH=$BUILD/wine64-bin:$PATH ;; esac
fi
export WIN_BUILD TIVOLU_RUN_EXE
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH=$BUILD/locale LANG=ja_JP.UTF-8 LC_ALL=

# Polls COMMAND until it succeeds or SECONDS pass.
wait_until() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# winenv_x_server SERVER ARGUMENT...: starts an X server on a free display that it picks itself
# (-displayfd: servers started side by side, as the lanes are, would otherwise find the same free
# number); sets X_SERVER_PID, and X_SERVER_DISPLAY once the server answers.
winenv_x_server() {
  local number
  number=$(mktemp)
  "$@" -displayfd 3 3>"$number" >/dev/null 2>&1 &
  X_SERVER_PID=$!
  X_SERVER_DISPLAY=""
  wait_until 20 test -s "$number" || { rm -f "$number"; echo "$1 did not start" >&2; return 1; }
  X_SERVER_DISPLAY=:$(tr -d '\n' <"$number")
  rm -f "$number"
  wait_until 20 xdpyinfo -display "$X_SERVER_DISPLAY" || { echo "$1 did not start" >&2; return 1; }
}

winenv_start_xvfb() {
  winenv_x_server Xvfb -screen 0 1280x1024x24 -noreset -nolisten tcp
  local status=$?
  XVFB_PID=$X_SERVER_PID
  [ $status -eq 0 ] || return 1
  export DISPLAY=$X_SERVER_DISPLAY
}

winenv_locale() {
  [ -d "$LOCPATH/ja_JP.UTF-8" ] && return 0
  mkdir -p "$LOCPATH"
  localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" 2>/dev/null || [ -d "$LOCPATH/ja_JP.UTF-8" ]
}

winenv_prefix() {
  [ -f "$WINEPREFIX/.tivolu-ready" ] || winenv_new_prefix
  # Without a window manager Wine waits 2 s for one at every hiding of a window it thinks managed
  # (an activated one): the Windows test programs and the benchmarks run with unmanaged windows.
  # The real program keeps Wine's default, as a user's Wine has it, and so does the benchmarks'
  # floor, which is measured against it: Wine asks at every move of a window it does not manage
  # whether it should now (five round trips to its server), and a floor spared that would hide it.
  local programs program reg=$BUILD/unmanaged.reg
  # Named from their sources: the test programs may be built after the lanes have started.
  programs=$(cd "$ROOT" && for source in tests/win32/*/*_test.cpp bench/win_*.cpp; do
    name=${source##*/}; name=${name%.cpp}
    case $source in bench/win_floor.cpp) ;; bench/*) echo "bench_$name.exe" ;; *) echo "$name.exe" ;; esac
  done | sort | tr '\n' ' ')
  local before
  before=$(cat "$WINEPREFIX/.tivolu-unmanaged" 2>/dev/null)
  [ "$before" = "$programs" ] && return 0
  { printf 'REGEDIT4\r\n'
    # A prefix made by an earlier build may name programs that are no longer in the list.
    for program in $before; do
      case " $programs" in *" $program "*) ;;
        *) printf '\r\n[-HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s]\r\n' "$program" ;; esac
    done
    for program in $programs; do
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s\\X11 Driver]\r\n"Managed"="N"\r\n' "$program"
    done
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
  wineserver -w
  echo "$programs" >"$WINEPREFIX/.tivolu-unmanaged"
}

# A new prefix is a copy of the first one made in this build folder, kept as it was made: Wine
# takes some 15 s to make one (and the tests want one a lane), a copy a moment.
winenv_new_prefix() {
  local template=$BUILD/wineprefix-template$WINE_BITS
  rm -rf "$WINEPREFIX"
  [ -f "$template/.tivolu-ready" ] && cp -a "$template" "$WINEPREFIX" && return 0
  echo "creating the Wine prefix (once)"
  wineboot -i >/dev/null 2>&1
  local reg=$BUILD/fonts.reg
  { printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n"MS UI Gothic"="IPAPGothic"\r\n' \
      | iconv -f UTF-8 -t UTF-16LE
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tivolu-ready"
  rm -rf "$template.new"
  cp -a "$WINEPREFIX" "$template.new" && mv -T "$template.new" "$template" 2>/dev/null ||
    rm -rf "$template.new"
}

# The prefix's background services run (each prefix has its own).
winenv_services_up() { winenv_prefix_runs 'C:\\windows\\system32\\winedevice.exe'; }
# The desktop process runs: started by the first program that asks for the desktop window, it
# keeps that program's output open (a test's, for ctest), so the long-lived program asks first.
winenv_desktop_up() { winenv_prefix_runs 'C:\\windows\\system32\\explorer.exe /desktop'; }
# winenv_prefix_runs PATTERN: a process of this prefix has PATTERN (pgrep's) in its command line.
winenv_prefix_runs() {
  local pid
  for pid in $(pgrep -f "$1"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}

# winenv_start [virtual]: uses $DISPLAY unless it is empty or "virtual" is asked for.
winenv_start() {
  XVFB_PID=""
  if [ "${1:-}" = virtual ] || [ -z "${DISPLAY:-}" ]; then winenv_start_xvfb || return 1; fi
  winenv_locale
  # A Wine server left from an earlier run would keep its desktop on that run's display.
  wineserver -k >/dev/null 2>&1
  winenv_prefix
  wineserver -p >/dev/null 2>&1
  # Wine's background processes (desktop, services) start with the first program and outlive it,
  # keeping its output open: start them here, detached from any test's output, and keep them up
  # between test programs with one long-lived program.
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  wait_until 30 winenv_services_up
  winenv_start_keeper
}

# Starts the long-lived program, once it is built and unless it runs already.
winenv_start_keeper() {
  [ -n "${KEEPER_PID:-}" ] && kill -0 "$KEEPER_PID" 2>/dev/null && return 0
  [ -f "$WIN_BUILD/keeper.exe" ] || return 0
  wine "$WIN_BUILD/keeper.exe" >/dev/null 2>&1 </dev/null &
  KEEPER_PID=$!
  wait_until 10 winenv_desktop_up
}

# This prefix's Wine processes (those of Wine's loader with this WINEPREFIX).
winenv_wine_pids() {
  local dir
  for dir in /proc/[0-9]*; do
    case "$(readlink "$dir/exe" 2>/dev/null)" in /usr/lib/wine/*) ;; *) continue ;; esac
    tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      echo "${dir#/proc/}"
  done
}

# Stops the prefix's Wine server and its programs. SIGTERM first: the server then writes the
# registry before it ends (a plain -k loses what changed since its last periodic save, such as a
# test's restoring of the prefix's DPI); but it leaves its programs behind, which would run on
# without it after the tests: those are ended once it has.
winenv_stop_server() {
  local pid
  wineserver -k15 >/dev/null 2>&1
  timeout 10 wineserver -w >/dev/null 2>&1
  for pid in $(winenv_wine_pids); do kill -9 "$pid" 2>/dev/null; done
  wineserver -k >/dev/null 2>&1
}

winenv_stop() {
  [ -n "${KEEPER_PID:-}" ] && kill "$KEEPER_PID" 2>/dev/null
  winenv_stop_server
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  return 0
}

# Lanes: independent displays, each with its own Xvfb, Wine prefix and Wine server, so that tests
# that use the pointer, the keyboard or the stacking of windows can run side by side, one a lane.
# winenv_start_lanes N starts them (lane 0 is the environment winenv_start gives, in this shell);
# ctest hands the lanes out ($TIVOLU_LANES/lanes.json; scripts/lane.sh sets a test's lane up).
winenv_start_lanes() {
  local count=$1 lane dir=$BUILD/lanes
  LANE_PIDS=()
  rm -rf "$dir"
  mkdir -p "$dir"
  export TIVOLU_LANES=$dir
  winenv_start virtual || return 1
  # A test that sources this file again keeps its lane's prefix: TIVOLU_WINEPREFIX names it.
  printf 'export DISPLAY=%q TIVOLU_WINEPREFIX=%q WINEPREFIX=%q\n' "$DISPLAY" \
    "${TIVOLU_WINEPREFIX:-}" "$WINEPREFIX" >"$dir/0.env"
  for ((lane = 1; lane < count; lane++)); do
    (
      export TIVOLU_WINEPREFIX=$BUILD/lane$lane-wineprefix
      if [ "$WINE_BITS" = 32 ]; then WINEPREFIX=$TIVOLU_WINEPREFIX; else WINEPREFIX=${TIVOLU_WINEPREFIX}64; fi
      export WINEPREFIX
      winenv_start virtual >/dev/null || exit 1
      printf 'export DISPLAY=%q TIVOLU_WINEPREFIX=%q WINEPREFIX=%q\n' "$DISPLAY" \
        "$TIVOLU_WINEPREFIX" "$WINEPREFIX" >"$dir/$lane.env"
      echo "$XVFB_PID ${KEEPER_PID:-}" >"$dir/$lane.pids"
    ) &
    LANE_PIDS+=($!)
  done
  for lane in "${LANE_PIDS[@]}"; do wait "$lane" || return 1; done
  # The lanes as ctest hands them out: one slot a lane.
  {
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"lanes": ['
    for ((lane = 0; lane < count; lane++)); do
      printf '%s{"id": "%d", "slots": 1}' "$([ $lane = 0 ] || echo ', ')" $lane
    done
    printf ']}]}\n'
  } >"$dir/lanes.json"
}

# Starts each lane's long-lived program where the lanes started before it was built.
winenv_start_lane_keepers() {
  local lane pids
  winenv_start_keeper
  for ((lane = 1; ; lane++)); do
    [ -f "$TIVOLU_LANES/$lane.env" ] || break
    read -ra pids <"$TIVOLU_LANES/$lane.pids"
    [ ${#pids[@]} -lt 2 ] || continue
    (
      source "$TIVOLU_LANES/$lane.env"
      KEEPER_PID=""
      winenv_start_keeper
      echo "${pids[0]} $KEEPER_PID" >"$TIVOLU_LANES/$lane.pids"
    )
  done
}

winenv_stop_lanes() {
  local file pid
  for file in "${TIVOLU_LANES:-/nonexistent}"/*.pids; do
    [ -f "$file" ] || continue
    for pid in $(cat "$file"); do kill "$pid" 2>/dev/null; done
    ( source "${file%.pids}.env"; winenv_stop_server )
  done
  winenv_stop
}
