# The scenes as a viewer sees them, through the recorder with a fixed seed: one whole cycle in
# its order and lengths, the fades between scenes, the look each scene's description implies, a
# golden frame per scene, SPACE and the scroller keys, and memory that stays flat over cycles.
#
# Golden frames: tests/e2e/golden/<scene>.png is the top-left quarter of one frame of the first
# visit of each scene (seed 7). Anything that changes the pictures or the order of random draws
# (the scenes, the effects, the music) changes them; after checking the new frames by eye,
# regenerate them with
#   KROM_REGEN_GOLDEN=1 bash tests/e2e/scenes.sh build /path/to/source
. "$2/tests/e2e/lib.bash"
rec="$build/krom7316-record"
[ -x "$rec" ] || fail "no recorder at $rec"
golden="$src/tests/e2e/golden"
regen=${KROM_REGEN_GOLDEN:-0}

# Present indices: 0 is the loading screen, 1-256 the start-up fade, then each visit has a
# set-up fade of 256, its frames, and (all but the intro) a closing fade of 256. The run goes on
# into the second cycle until its first scene has presented 135 frames (134 of them counted: the
# last present ends the run). The scenes and their limits are the program's own table.
"$rec" --list-scenes >"$scratch/scenes"
want=$(awk '{printf "%s:%s ", $1, $2}' "$scratch/scenes")
first=$(awk 'NR == 2 {print $1}' "$scratch/scenes")
cycle_end=$(awk '{p += 256 + $2 + ($1 == "intro" ? 0 : 256)} END {print 1 + 256 + p}' "$scratch/scenes")
mkdir "$scratch/cycle"
"$rec" --seed 7 --frames $((cycle_end + 256 + 135)) --png "$scratch/cycle" --every 50 --bench >"$scratch/cycle.bench"
order=$(awk -F'\t' 'NR > 1 && $1 != "startup" {printf "%s:%s ", $1, $2}' "$scratch/cycle.bench")
want="$want$first:134 "
[ "$order" = "$want" ] || fail "scene order and lengths: $order"

# Every written frame against its place in the layout and its scene; the golden frames.
cat >"$scratch/check.py" <<'PY'
import math, os, struct, sys, zlib

def read_png(path):
    data = open(path, 'rb').read()
    pos, idat, w, h = 8, b'', 0, 0
    while pos < len(data):
        n, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b'IHDR':
            w, h = struct.unpack('>II', body[:8])
            if body[8:10] != b'\x08\x02': raise SystemExit('%s: not 8-bit RGB' % path)
        elif kind == b'IDAT':
            idat += body
        pos += 12 + n
    raw, stride, out, prev = zlib.decompress(idat), 3 * w, [], bytearray(3 * w)
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b = prev[i]
            c = prev[i - 3] if i >= 3 else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        out.append([(line[3 * x] << 16) | (line[3 * x + 1] << 8) | line[3 * x + 2] for x in range(w)])
        prev = line
    return out

def write_png(path, rows):
    raw = b''.join(b'\0' + bytes(v for c in row for v in chans(c)) for row in rows)
    def chunk(kind, body): return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    head = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', head) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

# The shared tables, as the show builds them.
Q = [round(32767 * math.sin(2 * math.pi * k / 1024)) for k in range(256)]
Q[129], Q[183] = 23312, 29535
SINE = Q + Q[::-1] + [-q for q in Q] + [-q for q in Q[::-1]]
def S(a): return SINE[a & 1023]
HUE = ([0x00FF00 + i for i in range(256)] + [0x00FFFF - (i << 8) for i in range(256)] +
       [(i << 16) + 0xFF for i in range(256)] + [0xFF00FF - i for i in range(256)] +
       [0xFF0000 + (i << 8) for i in range(256)] + [0xFFFF00 - (i << 16) for i in range(256)])
def chans(c): return (c >> 16) & 255, (c >> 8) & 255, c & 255
def shift(c, t):
    return sum(max(0, min(255, v + t)) << s for v, s in zip(chans(c), (16, 8, 0)))

frames_dir, bench, golden, regen, every = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4] == '1', int(sys.argv[5])
visits = [l.split('\t')[:2] for l in open(bench).read().splitlines()[1:] if not l.startswith('startup')]
problems = []
def bad(msg): problems.append(msg)

# Present indices: 0 the loading screen, 1-256 the start-up fade; every visit then a set-up fade of
# 256, its frames, and (all but the intro) a closing fade of 256.
layout, p, clock = [], 257, 0
for name, n in visits:
    n = int(n)
    layout.append((name, p + 256, n, clock))
    p += 256 + n + (0 if name == 'intro' else 256)
    clock += n
def png(i): return os.path.join(frames_dir, 'frame-%06d.png' % i)

ramp = [0] * 3072
for i in range(256):
    for k, c in enumerate([i << 16, (i << 16) | (i << 8), i << 8, (i << 8) | i, i, (i << 16) | i]):
        ramp[512 * k + i] = ramp[512 * k + 511 - i] = c
def wave(a, sh): return ((3 * S(a)) << 10) >> sh
def band(y, t):
    first = ramp[(wave(y - 2 * t, 16) + 3072 + wave(3 * t + 2 * y, 15) + 3072) % 3072]
    second = ramp[(wave(3 * t + 3 * y, 16) + 3072 + wave(y - 4 * t, 15) + 3072) % 3072]
    return sum(((a + b) // 2) << s for a, b, s in zip(chans(first), chans(second), (16, 8, 0)))
def logo_row(v, i):
    e = 256
    return [192 - (SINE[(2 * i + e) & 511] >> 7) + i, 192 - (SINE[(3 * i + e) & 511] >> 7) + i,
            192 - (SINE[(4 * i + e) & 511] >> 7) + 2 * i, 64 - (SINE[(2 * i + e) & 511] >> 8) + i][v]
ramp_colours = set([0, 0xFFFFFF] + [i for i in range(256)] + [(i << 8) | 255 for i in range(256)] +
                   [(i << 16) | 0xFFFF for i in range(256)])

def read_ppm(path):
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace(): pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos)
            continue
        end = pos
        while not data[end:end + 1].isspace(): end += 1
        fields.append(data[pos:end]); pos = end
    body = data[pos + 1:]
    return set((body[i] << 16) | (body[i + 1] << 8) | body[i + 2] for i in range(0, len(body), 3))
src = sys.argv[6]
sheet_colours = read_ppm(os.path.join(src, 'resources/data/stars.ppm')) | read_ppm(os.path.join(src, 'resources/data/balls.ppm'))

def check_frame(name, k, t, im):
    """The look each scene must have in frame k of its visit (t: the clock its drawing saw)."""
    flat = [c for row in im for c in row]
    lit = sum(1 for c in flat if c)
    if name == 'intro':
        bg = max(set(flat), key=flat.count)
        if sorted(chans(bg))[0] != 0 or sorted(chans(bg))[2] != 155:
            bad('intro %d: background %06x is not a hue dimmed by 100' % (k, bg))
        fits = [v for v in range(4) if all(c == bg for y in range(256) if not 0 <= y - logo_row(v, k) < 64 for c in im[y])]
        if not fits: bad('intro %d: pixels off the background outside the logo band of every variant' % k)
    elif name == 'vector':
        rows = sum(1 for y in range(256) if im[y].count(band(y, t)) >= 16)
        if rows < 200: bad('vector %d: only %d rows show their band colour' % (k, rows))
    elif name == 'archpath':
        black = len(flat) - lit
        if black < len(flat) // 4 or lit < 256: bad('archpath %d: %d black pixels, %d lit' % (k, black, lit))
    elif name == 'sinescan':
        if len(set(im[255])) != 1 or im[255][0] not in ramp_colours:
            bad('sinescan %d: row 255 is not one ramp colour' % k)
        for y in range(32, 128):
            tint = HUE[(518 + 6 * y) % 1536]
            shades = set(shift(tint, s) for s in range(-128, 128))
            if any(c not in shades for c in im[y]): bad('sinescan %d: row %d not a shade of its tint' % (k, y)); break
        for y in range(128, 255):
            if any(c not in ramp_colours for c in im[y]): bad('sinescan %d: row %d not ramp colours' % (k, y)); break
    elif name in ('bicolour', 'chain', 'radial', 'rain'):
        # Hues of the wheel fading by grey steps keep one channel at 0.
        if any(min(chans(c)) for c in flat): bad('%s %d: a pixel with no channel at 0' % (name, k))
        if lit < 256: bad('%s %d: only %d pixels lit' % (name, k, lit))
        if name == 'rain':
            # The wobbling caption over the rain: each letter of KROM somewhere in its 16 x 16 box, in the
            # hue of this frame's clock (refreshed before the caption: one more than the drawing saw).
            T = t + 1
            for letter, off, xp, xb, yp in (('K', 192, 500, 24, 800), ('R', 128, 450, 40, 600),
                                            ('O', 64, 400, 56, 400), ('M', 0, 350, 72, 200)):
                x0, y0 = (S((23 * T + xp) & 1023) >> 12) + xb, S((17 * T + yp) & 1023) >> 12
                colour = HUE[(T + off) % 1536]
                if not any(im[y][x] == colour for y in range(max(y0, 0), y0 + 16) for x in range(x0, x0 + 16)):
                    bad('rain %d: caption letter %s not drawn in %06x at (%d, %d)' % (k, letter, colour, x0, y0))
        if name == 'radial' and im[128][128] != HUE[24]:
            bad('radial %d: centre %06x, want the first spoke of wheel 4 in %06x' % (k, im[128][128], HUE[24]))
        if name == 'chain' and any(im[y][x] != im[y][255 - x] or im[y][x] != im[255 - y][x]
                                   for y in range(128) for x in range(128)):
            bad('chain %d: not mirrored four ways' % k)
    elif name == 'backmove':
        white = flat.count(0xFFFFFF)
        if white < 1000: bad('backmove %d: only %d white pixels' % (k, white))
        # The caption's hues may be mirrored anywhere.
        allowed = sheet_colours | set(HUE) | {0xFFFFFF}
        if any(c not in allowed for c in flat): bad('backmove %d: a pixel neither white, a sprite nor a hue' % k)

# The intro leaves its last frame standing: only the set-up fade right after it starts from a picture.
def after_intro(start): return any(nm == 'intro' and st + n + 256 == start for nm, st, n, _ in layout)
goldens_done = set()
checked = 0
for name, start, n, clock in layout:
    for i in range(start - 256, start + n + (0 if name == 'intro' else 256)):
        if i % every or not os.path.exists(png(i)): continue
        k = i - start
        if k < 0 and (name != layout[0][0] or start != layout[0][1]) and after_intro(start):
            j = k + 257
            if any(max(chans(c)) > 255 - j for row in read_png(png(i)) for c in row):
                bad('%s: set-up fade present %d (step %d) too bright' % (name, i, j))
        elif k < 0:
            if any(c for row in read_png(png(i)) for c in row): bad('%s: set-up fade present %d not black' % (name, i))
        elif k >= n:
            j = k - n + 1
            im = read_png(png(i))
            if any(max(chans(c)) > 255 - j for row in im for c in row):
                bad('%s: closing fade present %d (step %d) too bright' % (name, i, j))
        else:
            im = read_png(png(i))
            check_frame(name, k, clock + k - 1, im)
            if name not in goldens_done and k >= (30 if name == 'intro' else 80):
                # The first written frame from the 80th of the first visit on (the 30th in the intro, while
                # the logo is still in the top half): its top-left quarter.
                goldens_done.add(name)
                gold = os.path.join(golden, name + '.png')
                quarter = [row[:128] for row in im[:128]]
                if regen: write_png(gold, quarter)
                elif not os.path.exists(gold): bad('%s: no golden frame %s' % (name, gold))
                else:
                    want = read_png(gold)
                    diff = [(x, y) for y in range(len(want)) for x in range(len(want[y]))
                            if y >= len(quarter) or x >= len(quarter[y]) or quarter[y][x] != want[y][x]]
                    if diff or len(want) != len(quarter):
                        x, y = diff[0] if diff else (0, len(want))
                        got = '%06x' % quarter[y][x] if y < len(quarter) and x < len(quarter[y]) else 'none'
                        stored = '%06x' % want[y][x] if y < len(want) else 'none'
                        bad('%s: present %d differs from %s first at (%d, %d): %s, stored %s'
                            % (name, i, gold, x, y, got, stored))
        checked += 1
print('checked %d frames of %d visits' % (checked, len(layout)))
for m in problems[:20]: print('FAIL:', m)
sys.exit(1 if problems else 0)
PY
python3 "$scratch/check.py" "$scratch/cycle" "$scratch/cycle.bench" "$golden" "$regen" 50 "$src" ||
  fail "frames of the cycle"

# SPACE ends a scene after the frame in which it comes: the vector scene's frames start at
# present 1069, so SPACE at 1200 leaves 131 counted frames; its closing fade (1201-1456) and the
# arch-path scene's set-up fade (1457-1712) follow, and SPACE at 1733 ends that one after 20.
mkdir "$scratch/space"
"$rec" --seed 7 --frames 2400 --keys 1200:space,1733:space --png "$scratch/space" --every 8 --bench \
  >"$scratch/space.bench"
order=$(awk -F'\t' 'NR > 1 && $1 != "startup" {printf "%s:%s ", $1, $2}' "$scratch/space.bench")
[ "$order" = "intro:300 vector:131 archpath:20 sinescan:153 " ] || fail "SPACE: $order"
python3 - "$scratch/space" <<'PY' || fail "SPACE: fades around the shortened scenes"
import os, sys
exec(open(os.path.join(os.path.dirname(sys.argv[1]), 'check.py')).read().split('# The shared tables')[0])
def frame(i): return [c for row in read_png(os.path.join(sys.argv[1], 'frame-%06d.png' % i)) for c in row]
assert any(frame(1200)), 'the frame with SPACE is presented'
assert max(max((c >> 16) & 255, (c >> 8) & 255, c & 255) for c in frame(1208)) <= 247, 'closing fade'
for i in (1456, 1712, 2000, 2240):
    assert not any(frame(i)), 'present %d not black' % i
assert any(frame(1720)), 'arch-path frames'
PY

# U and I change the scroller's speed: ten presses from present 1100 on (one per frame) make it
# 15 or -5, so the ribbon differs from then on while the frames up to 1100 are the same. During
# the intro there is no scroller yet and the keys change nothing.
run_keys() {
  mkdir "$scratch/$1"
  local keys=""
  for _ in $(seq 10); do keys+="$2:$3,"; done
  "$rec" --seed 7 --frames 1701 --png "$scratch/$1" --every 100 ${3:+--keys "${keys%,}"}
}
run_keys base 0 ""
run_keys faster 1100 u
run_keys slower 1100 i
run_keys intro 600 u
for f in 1100 1700; do
  cmp -s "$scratch/base/frame-00$f.png" "$scratch/intro/frame-00$f.png" || fail "U in the intro changed frame $f"
done
cmp -s "$scratch/base/frame-001100.png" "$scratch/faster/frame-001100.png" || fail "U changed frame 1100"
cmp -s "$scratch/base/frame-001100.png" "$scratch/slower/frame-001100.png" || fail "I changed frame 1100"
# (At 1300 both changed runs happen to show only blanks of the text, so U and I are compared later.)
for f in 1300 1500 1700; do
  cmp -s "$scratch/base/frame-00$f.png" "$scratch/faster/frame-00$f.png" && fail "U: frame $f unchanged"
  cmp -s "$scratch/base/frame-00$f.png" "$scratch/slower/frame-00$f.png" && fail "I: frame $f unchanged"
done
for f in 1500 1700; do
  cmp -s "$scratch/faster/frame-00$f.png" "$scratch/slower/frame-00$f.png" && fail "U and I: frame $f the same"
done

# What a visit makes and no longer needs is released: the first cycle makes the kept walkers,
# chain and scroller, and the allocator settles within a few more; from the fourth cycle on the
# resident memory stays within 1 MB (one sine-scan visit alone holds over 2 MB).
"$rec" --seed 7 --cycles 8 --rss --block 0 >"$scratch/rss"
awk -F'\t' '$1 == 4 {a = $2} $1 == "end" {b = $2} END {d = b - a; if (d < 0) d = -d; exit !(a > 0 && d <= 1024)}' \
  "$scratch/rss" || fail "memory over eight cycles: $(tr '\n' ' ' <"$scratch/rss")"
echo "scenes test passed"
