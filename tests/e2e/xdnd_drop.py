#!/usr/bin/python3
"""Drops files onto the X window at a screen point the way a Linux file manager does: as an X
client speaking XDND (version 5) that offers the files as text/uri-list.

    xdnd_drop.py X Y PATH...

PATH is a Unix path; it is sent as a file:// address with every byte that an address may not hold
percent-encoded. Exits 0 once the target has finished the drop, 1 if it refused it or did not
answer within a few seconds, 2 if there is no drop target at the point."""
import sys
import time
import urllib.parse

from Xlib import X, display
from Xlib.protocol import event

TIMEOUT = 10


def find_target(d, x, y):
    """The deepest window at (x, y) from the root that carries XdndAware."""
    aware = d.intern_atom("XdndAware")
    window, found = d.screen().root, None
    while window:
        prop = window.get_full_property(aware, X.AnyPropertyType)
        if prop is not None:
            found = window
        child = window.translate_coords(d.screen().root, x, y).child
        if not child or child == X.NONE:
            break
        window = child
    return found


def send(d, target, kind, data):
    message = event.ClientMessage(window=target, client_type=d.intern_atom(kind),
                                  data=(32, (data + [0] * 5)[:5]))
    target.send_event(message, event_mask=0)
    d.flush()


def main():
    if len(sys.argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    x, y, paths = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
    uris = "".join("file://" + urllib.parse.quote(p.encode()) + "\r\n" for p in paths).encode()

    d = display.Display()
    root = d.screen().root
    target = find_target(d, x, y)
    if target is None:
        print(f"no XDND target at {x},{y}", file=sys.stderr)
        return 2
    source = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    uri_list = d.intern_atom("text/uri-list")
    selection = d.intern_atom("XdndSelection")
    source.set_selection_owner(selection, X.CurrentTime)

    send(d, target, "XdndEnter", [source.id, 5 << 24, uri_list])
    send(d, target, "XdndPosition",
         [source.id, 0, (x << 16) | y, X.CurrentTime, d.intern_atom("XdndActionCopy")])

    dropped, deadline = False, time.time() + TIMEOUT
    while time.time() < deadline:
        if not d.pending_events():
            time.sleep(0.01)
            continue
        e = d.next_event()
        if e.type == X.SelectionRequest:
            # The target reads the files: the list, in the type it asked for if it is ours.
            if e.target == uri_list:
                e.requestor.change_property(e.property, uri_list, 8, uris)
                prop = e.property
            else:
                prop = X.NONE
            e.requestor.send_event(event.SelectionNotify(
                time=e.time, requestor=e.requestor, selection=e.selection, target=e.target,
                property=prop), event_mask=0)
            d.flush()
        elif e.type == X.ClientMessage and e.client_type == d.intern_atom("XdndStatus"):
            if not dropped:
                if not e.data[1][1] & 1:
                    print("the target does not accept the drop", file=sys.stderr)
                    send(d, target, "XdndLeave", [source.id])
                    return 1
                send(d, target, "XdndDrop", [source.id, 0, X.CurrentTime])
                dropped = True
        elif e.type == X.ClientMessage and e.client_type == d.intern_atom("XdndFinished"):
            return 0
    print("no answer from the drop target", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
