#!/usr/bin/env bash
# The characters are borderless windows cut to their frames: the screen shows the figures and no
# pixel of a key colour, and a click on the key-coloured gap between the rabbit's ears reaches the
# window beneath, while a click on the rabbit does not.
source "$(dirname "$0")/lib.sh"
ART=${TIVOLU_ART:-$(dirname "$TIVOLU_BUILD")/art}
work=$(mktemp -d)

# A plain window that records the clicks it gets, beneath where the characters will rest.
wine "$PROBE" recorder 380 0 300 300 "$(winepath -w "$work/clicks")" >/dev/null 2>&1 &
recorder=$!
check "the recorder window is up" wait_until 30 grep -q ready "$work/clicks"

# Everyone walks toward this point and rests around it (Mubo slowest, in about eight seconds).
probe cursor 500 100 >/dev/null
start_program
for c in "${CHARACTERS[@]}"; do check "$c appears" wait_until 60 window_shown "$c"; done
check "start-up has ended" wait_until 60 started_up

check "the characters come to rest" wait_until 60 at_rest

for c in "${CHARACTERS[@]}"; do
  probe info "$c" >"$work/$c.info"
  probe region "$c" >"$work/$c.region"
done
import -window root "$work/screen.png"
convert "$work/screen.png" -depth 8 rgb:"$work/screen.rgb"

# Judges the windows, the screen and the click points from what was read above.
python3 - "$work" "$ART" <<'PY' >"$work/verdict"
import struct, sys
work, art = sys.argv[1], sys.argv[2]
names = ["Mubo", "Tesk", "Plim", "Quarn"]
keys = {(51, 161, 3), (0, 62, 221), (0, 136, 221)}
W, H = 1280, 1024
screen = open(f"{work}/screen.rgb", "rb").read()
pixel = lambda x, y: tuple(screen[3 * (y * W + x):3 * (y * W + x) + 3])

def blob_rects(path):
    data = open(path, "rb").read()
    n = struct.unpack_from("<I", data, 8)[0]
    return sorted(struct.unpack_from("<4i", data, 32 + 16 * i) for i in range(n))

win = {}
for c in names:
    info = dict(kv.split("=", 1) for kv in open(f"{work}/{c}.info").read().split() if "=" in kv)
    rects = sorted(tuple(map(int, l.split())) for l in open(f"{work}/{c}.region") if l.strip())
    win[c] = (int(info["left"]), int(info["top"]), rects, info)

for c in names:
    left, top, rects, info = win[c]
    frames = [n for n in range(1, 13) if blob_rects(f"{art}/{c}/Rgn{n}.rgn") == rects]
    print(f"outline {c} {'ok' if frames else 'bad'} frame {frames[:1]}")
    print(f"border {c} {'ok' if info['caption'] == '0' and info['popup'] == '1' else 'bad'}")
    seen = sum(1 for l, t, r, b in rects for y in range(t, b) for x in range(l, r)
               if 0 <= left + x < W and 0 <= top + y < H and pixel(left + x, top + y) != (0, 0, 0))
    area = sum(1 for l, t, r, b in rects for y in range(t, b) for x in range(l, r)
               if 0 <= left + x < W and 0 <= top + y < H)
    print(f"figure {c} {'ok' if area and seen > 0.9 * area else 'bad'} {seen}/{area}")

keyed = sum(1 for i in range(0, len(screen), 3) if tuple(screen[i:i + 3]) in keys)
print(f"keycolour {'ok' if keyed == 0 else 'bad'} {keyed}")
PY
/usr/bin/python3 "$(dirname "$0")/rabbit_points.py" "$work" >>"$work/verdict"
cat "$work/verdict"
for c in "${CHARACTERS[@]}"; do
  check "$c has the outline of one of its frames" grep -q "^outline $c ok" "$work/verdict"
  check "$c has no border" grep -q "^border $c ok" "$work/verdict"
  check "$c's figure is on the screen" grep -q "^figure $c ok" "$work/verdict"
done
check "no pixel of a key colour on the screen" grep -q "^keycolour ok" "$work/verdict"

read -r _ gx gy < <(grep '^gap' "$work/verdict")
read -r _ fx fy < <(grep '^figurepoint' "$work/verdict")
if [ "$gx" = none ] || [ "$fx" = none ]; then
  fail "no free point between the rabbit's ears or on it"
else
  xdotool mousemove "$gx" "$gy" click 1
  check "a click between the ears reaches the window beneath" \
    wait_until 10 grep -q "click $gx $gy" "$work/clicks"
  clicks=$(grep -c click "$work/clicks")
  xdotool mousemove "$fx" "$fy" click 1
  xdotool mousemove "$gx" "$gy" click 1  # a second click through the gap marks the end
  wait_until 10 output_above "$clicks" grep -c click "$work/clicks"
  check "a click on the rabbit does not reach it" \
    test "$(grep -c "click $fx $fy" "$work/clicks")" -eq 0
fi

kill "$recorder" 2>/dev/null
rm -rf "$work"
finish
