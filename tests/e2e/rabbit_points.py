#!/usr/bin/python3
"""Two points by the rabbit (Tesk) at rest, read from WORK/NAME.info and WORK/NAME.region (what
`probe info` and `probe region` printed for each character):

    rabbit_points.py WORK

prints "gap X Y", a pixel between its ears (outside its outline, inside its box, with figure on
both sides in that row), and "figurepoint X Y", a pixel of its figure; both in screen coordinates,
where no other character lies and within its resting zone, so that moving the pointer there makes
the rabbit not move. "none" stands for a point that was not found."""
import os
import sys

work = sys.argv[1]
# The program's whole-pixel scale: the rabbit, and his resting zone, that many times larger.
k = int(os.environ.get("TIVOLU_SCALE", "1"))
names = ["Mubo", "Tesk", "Plim", "Quarn"]
win = {}
for c in names:
    info = dict(kv.split("=", 1) for kv in open(f"{work}/{c}.info").read().split() if "=" in kv)
    rects = [tuple(map(int, l.split())) for l in open(f"{work}/{c}.region") if l.strip()]
    win[c] = (int(info["left"]), int(info["top"]), rects, info.get("visible") == "1")


def covered(c, x, y):
    left, top, rects, shown = win[c]
    return shown and any(l <= x - left < r and t <= y - top < b for l, t, r, b in rects)


left, top, rects, _ = win["Tesk"]
free = lambda x, y: top + y >= 0 and not any(covered(o, left + x, top + y) for o in names if o != "Tesk")
gap = figure = None
for y in range(0, 12 * k):
    row = sorted((l, r) for l, t, r, b in rects if t <= y < b)
    for (l1, r1), (l2, r2) in zip(row, row[1:]):
        for x in range(r1, l2):
            if x <= 12 * k and free(x, y) and not gap:
                gap = (left + x, top + y)
    for l, r in row:
        for x in range(l, r):
            if x <= 12 * k and free(x, y) and not figure:
                figure = (left + x, top + y)
print("gap", *(gap or ("none",)))
print("figurepoint", *(figure or ("none",)))
