#!/usr/bin/python3
# shown.py NAME_REGEX COUNT: watches the X display's top-level windows and prints, at the moment
# COUNT windows whose names match NAME_REGEX are mapped, the time in nanoseconds since the epoch;
# exits 1 after 60 s without. Prints "ready" first, once it listens: a start measured from then
# on is seen whole. It waits for the X server's map events instead of asking again and again, so
# that it takes no time from the program it watches (a poll that starts a process every few
# milliseconds slows the start it measures, and reads it only as often as it runs).
import re
import select
import sys
import time

from Xlib import X, display, error

pattern, count = re.compile(sys.argv[1]), int(sys.argv[2])
screen = display.Display()
root = screen.screen().root
root.change_attributes(event_mask=X.SubstructureNotifyMask)
screen.sync()
print("ready", flush=True)

mapped = set()  # top-level windows mapped since, whatever their names
deadline = time.monotonic() + 60


def name_of(window):
    try:
        name = window.get_full_property(screen.intern_atom("_NET_WM_NAME"), 0)
        if name:
            return name.value.decode("utf-8", "replace")
        name = window.get_wm_name()
        return name.decode("latin-1") if isinstance(name, bytes) else name
    except error.XError:
        return None  # gone meanwhile


while time.monotonic() < deadline:
    while screen.pending_events():
        event = screen.next_event()
        if event.type == X.MapNotify:
            mapped.add(event.window)
        elif event.type in (X.UnmapNotify, X.DestroyNotify):
            mapped.discard(event.window)
    # Names are read for the mapped windows only: a few requests a wake-up, none while idle.
    shown = sum(1 for window in mapped if pattern.match(name_of(window) or ""))
    if shown >= count:
        print(time.time_ns(), flush=True)
        sys.exit(0)
    select.select([screen.fileno()], [], [], 0.02)
sys.exit(1)
