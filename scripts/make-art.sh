#!/usr/bin/env bash
# Draws Korvex's bitmaps and icons into res/art/ (24-bit BMPs of 17 by 13 pixels for the list
# images; 32-bit icons of 16 and 32 pixels, the tray icon also with a pause mark). The generated
# files are committed, so the build needs no generator; run this only to change the pictures.
#   scripts/make-art.sh                 writes res/art/*.bmp and res/art/*.ico
#   scripts/make-art.sh --preview DIR   also writes enlarged PNGs into DIR to look at
set -eu
cd "$(dirname "$0")/.."
preview=""
if [ "${1:-}" = "--preview" ]; then
    preview=${2:?directory for the previews}
    mkdir -p "$preview"
fi
mkdir -p res/art

python3 - res/art <<'EOF'
import struct
import sys

out = sys.argv[1]

def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))

def write_bmp24(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y = 0 at the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)

def write_ico(path, sizes, pixel):
    """pixel(x, y, size) -> (r, g, b, a); one 32-bit image per size."""
    images = []
    for size in sizes:
        xor = bytearray()
        mask = bytearray()
        mask_stride = ((size + 31) // 32) * 4
        for y in range(size - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(size):
                r, g, b, a = pixel(x, y, size)
                xor += bytes((b, g, r, a))
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                           0, 0, 0, 0)
        images.append(info + bytes(xor) + bytes(mask))
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(head + entries + b"".join(images))

# --- list images, 17 by 13 ---------------------------------------------------------------
W, H = 17, 13
WHITE = (255, 255, 255)
BLUE = (0, 64, 200)
LIGHT_BLUE = (150, 200, 250)

def bookmark(x, y):
    # Black corner pixels: transparent in the image list.
    if (x, y) in ((0, 0), (W - 1, 0), (0, H - 1), (W - 1, H - 1)):
        return (0, 0, 0)
    # Distance from the top left corner, 0 there and 1 at the bottom right.
    t = (x + y) / float(W - 1 + H - 1)
    if x in (0, W - 1) or y in (0, H - 1):
        return mix(WHITE, BLUE, t * 2.2)
    return mix((225, 240, 255), LIGHT_BLUE, t * 1.8)

write_bmp24(out + "/bookmark.bmp", W, H, bookmark)
write_bmp24(out + "/blank.bmp", W, H, lambda x, y: (0, 0, 0))

TEAL = (0, 132, 132)     # 0x848400 as a COLORREF
SHEET = (192, 192, 192)
EDGE = (128, 128, 128)
DARK = (32, 32, 64)

def document(x, y):
    left, right, top, bottom = 4, 12, 1, 11
    if not (left <= x <= right and top <= y <= bottom):
        return TEAL
    # The folded top right corner: cut off above the diagonal, outlined below it.
    fold = 3
    dx, dy = x - (right - fold), y - top
    if 0 <= dy <= fold and dx > dy:
        return TEAL
    if 0 <= dy <= fold and (dx == dy or (dx >= 0 and dy == fold) or (dx == 0)):
        return EDGE
    if x in (left, right) or y in (top, bottom):
        return EDGE
    # The dark shape: lines of text on the sheet.
    if y in (4, 6, 8) and left + 2 <= x <= right - 2:
        return DARK
    return SHEET

write_bmp24(out + "/document.bmp", W, H, document)

# --- icons ---------------------------------------------------------------------------------
def clipboard_icon(board, clip, paper, lines):
    def pixel(x, y, size):
        s = size / 32.0
        fx, fy = x / s, y / s  # in 32-pixel units
        # Board: rounded rectangle 5..27 x 4..30.
        in_board = 5 <= fx < 27 and 4 <= fy < 31
        corner = ((fx < 6.5 or fx >= 25.5) and (fy < 5.5 or fy >= 29.5))
        if in_board and not corner:
            col = board
            if 8 <= fx < 24 and 8 <= fy < 28:
                col = paper
                if int(fy) in (12, 16, 20, 24) and 10 <= fx < (22 if int(fy) != 24 else 17):
                    col = lines
            edge = fx < 6 or fx >= 26 or fy < 5 or fy >= 30
            if edge:
                col = mix(col, (0, 0, 0), 0.35)
            # The clip at the top.
            if 11 <= fx < 21 and 2 <= fy < 8:
                col = clip if not (14 <= fx < 18 and 3 <= fy < 5) else board
            return col + (255,)
        if 11 <= fx < 21 and 2 <= fy < 8:
            if 14 <= fx < 18 and 3 <= fy < 5:
                return (0, 0, 0, 0)
            return clip + (255,)
        return (0, 0, 0, 0)
    return pixel

write_ico(out + "/korvex.ico", [32, 16],
          clipboard_icon((150, 95, 45), (170, 170, 180), (255, 255, 255), (40, 80, 160)))
write_ico(out + "/about.ico", [32, 16],
          clipboard_icon((150, 95, 45), (170, 170, 180), (255, 255, 255), (40, 80, 160)))
tray = clipboard_icon((120, 70, 30), (200, 200, 210), (255, 255, 240), (0, 90, 200))
write_ico(out + "/tray.ico", [16, 32], tray)

def paused(base):
    # The same icon with a pause mark at the bottom right: two white bars on an orange disc, laid
    # out for each size in whole pixels (centre, radius, the bars' columns, their first and last
    # row).
    layout = {16: (11.5, 5.0, (9, 10, 13, 14), 9, 14),
              32: (22.5, 9.5, (18, 19, 20, 24, 25, 26), 17, 27)}
    def pixel(x, y, size):
        centre, radius, bars, top, bottom = layout[size]
        d = ((x - centre) ** 2 + (y - centre) ** 2) ** 0.5
        if d <= radius:
            if x in bars and top <= y <= bottom:
                return (255, 255, 255, 255)
            return ((170, 80, 0) if d > radius - 1.2 else (240, 140, 0)) + (255,)
        return base(x, y, size)
    return pixel

write_ico(out + "/tray-paused.ico", [16, 32], paused(tray))
EOF

if [ -n "$preview" ]; then
    convert=/usr/bin/convert-im6.q16
    [ -x "$convert" ] || convert=convert
    for f in res/art/*.bmp; do
        "$convert" "$f" -scale 1600% "$preview/$(basename "$f" .bmp).png"
    done
    for f in res/art/*.ico; do
        "$convert" "$f[0]" -background '#ff00ff' -flatten -scale 800% \
            "$preview/$(basename "$f" .ico)-large.png"
        "$convert" "$f[1]" -background '#ff00ff' -flatten -scale 800% \
            "$preview/$(basename "$f" .ico)-small.png"
    done
fi
