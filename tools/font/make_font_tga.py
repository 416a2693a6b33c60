#!/usr/bin/env python3
"""Builds the bitmap font atlas the 3-D view writes its text with.

The atlas is a 256 x 256 TGA, 32 bits per pixel, split into a 16 x 16 grid of
16 x 16 pixel cells. The character of code n (an unsigned byte) sits in column
n % 16 and row n // 16 counted from the top of the image. Colour is white
everywhere; the glyph shape is in the alpha channel (255 inside, 0 outside,
anti-aliased edges in between). Codes 32..126 hold printable ASCII and
160..255 the Latin-1 characters the font covers; the control ranges 0..31 and
127..159 stay empty.

Each glyph is rasterised by ImageMagick (FreeType underneath) from a real
TrueType font at SUPERSAMPLE times the cell size, then box-filtered down, so
the alpha is a true area coverage with sub-texel placement. All glyphs share
one baseline and are centred on the font's (monospace) advance; the few that
would not fit inside the cell with a small margin (accented capitals,
underscore) are scaled down about their baseline until they do.

Usage:
    python3 tools/font/make_font_tga.py [--font TTF] [--cap TEXELS] [--out FILE]

Needs Python 3, ImageMagick's `convert` and, for the default font, the Debian
package fonts-dejavu-core. The written file is read back and checked before
the tool reports success.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", ".."))
DEFAULT_OUT = os.path.join(REPO, "runtime", "images", "font.tga")
DEFAULT_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"

CELL = 16                 # cell size in texels
GRID = 16                 # cells per row and per column
SIZE = CELL * GRID        # atlas width and height
SUPERSAMPLE = 8           # rendering resolution per texel, each way
PAD = 4                   # texels of extra canvas around a cell, to catch overflow

DEFAULT_CAP = 10          # cap height in texels; sets the em size
BASELINE = 4              # baseline height above the cell bottom, in texels
MARGIN = 0.25             # ink kept this far inside the cell edges, in texels

# Codes that get a glyph. Everything else is left fully transparent.
PRINTABLE = list(range(32, 127)) + list(range(160, 256))


def find_convert():
    """Prefer the distribution's convert so a wrapper earlier on PATH cannot
    change what gets rendered."""
    for path in ("/usr/bin/convert", shutil.which("convert")):
        if path and os.path.exists(path):
            return path
    sys.exit("make_font_tga: ImageMagick 'convert' not found (apt-get install imagemagick)")


def font_charset(font):
    """Unicode code points the font maps, from fontconfig; None if unknown."""
    fc = shutil.which("fc-query")
    if not fc:
        return None
    res = subprocess.run([fc, "--format=%{charset}", font],
                         capture_output=True, text=True)
    if res.returncode != 0 or not res.stdout.strip():
        return None
    cps = set()
    for part in res.stdout.split():
        lo, _, hi = part.partition("-")
        cps.update(range(int(lo, 16), int(hi or lo, 16) + 1))
    return cps


def annotate_text(ch):
    """ImageMagick expands '%' escapes and backslash escapes in -annotate
    text; double them so the character is drawn literally. The arguments go
    to convert directly (no shell), so nothing else needs quoting. A lone '@'
    is drawn as is (only a leading '@' followed by a name reads a file)."""
    return {"%": "%%", "\\": "\\\\"}.get(ch, ch)


class Renderer:
    def __init__(self, convert, font):
        self.convert = convert
        self.font = font

    def gray(self, width, height, pointsize, pen_x, pen_y, text):
        """Renders text white on black; returns the 8-bit grey bytes, rows
        from the top. pen_x/pen_y is the baseline origin in canvas pixels."""
        cmd = [self.convert, "-size", f"{width}x{height}", "xc:black",
               "-font", self.font, "-pointsize", f"{pointsize:.3f}",
               "-fill", "white", "-stroke", "none",
               "-annotate", f"+{pen_x}+{pen_y}",
               "".join(annotate_text(c) for c in text),
               "-colorspace", "gray", "-depth", "8", "gray:-"]
        res = subprocess.run(cmd, capture_output=True)
        if res.returncode != 0:
            sys.exit("make_font_tga: convert failed: "
                     + res.stderr.decode(errors="replace").strip())
        data = res.stdout
        if len(data) != width * height:
            sys.exit(f"make_font_tga: convert returned {len(data)} bytes, "
                     f"expected {width * height}")
        return data

    def metrics(self):
        """(advance, cap height) of the font as fractions of the em. The
        advance is the shift of the right edge of 'M' between 'M' and 'MM',
        the cap height the ink height of 'H'. Drawn large so the rounding of
        the rasteriser does not matter."""
        big = 1000
        w, h = 3 * big, 3 * big // 2
        pen_y = big

        def box(text):
            b = ink_box(self.gray(w, h, big, 100, pen_y, text), w, h, 127)
            if b is None:
                sys.exit(f"make_font_tga: cannot measure {text!r} in the font")
            return b

        advance = (box("MM")[2] - box("M")[2]) / big
        cap = (pen_y - box("H")[1]) / big
        return advance, cap


def ink_box(img, w, h, threshold=8):
    """(left, top, right, bottom) of pixels above threshold, exclusive right
    and bottom; None when empty."""
    rows = [y for y in range(h) if max(img[y * w:(y + 1) * w]) > threshold]
    if not rows:
        return None
    cols = [x for x in range(w)
            if any(img[y * w + x] > threshold for y in rows)]
    return cols[0], rows[0], cols[-1] + 1, rows[-1] + 1


def render_glyph(rnd, ch, px, adv_per_px):
    """Returns the CELL x CELL alpha coverage of ch (rows from the top of the
    cell) and the scale that was needed to make it fit."""
    s = SUPERSAMPLE
    cw = (CELL + 2 * PAD) * s            # canvas: the cell plus a border
    lo = PAD * s                          # cell start in the canvas
    hi = (PAD + CELL) * s                 # cell end in the canvas
    margin = MARGIN * s
    base_y = round((PAD + CELL - BASELINE) * s)
    centre_x = (PAD + CELL / 2) * s

    scale = 1.0
    for _ in range(8):
        size = px * scale * s
        pen_x = round(centre_x - adv_per_px * px * scale * s / 2)
        img = rnd.gray(cw, cw, size, pen_x, base_y, ch)
        box = ink_box(img, cw, cw)
        if box is None:
            break
        left, top, right, bottom = box
        # Largest overshoot beyond the allowed area, as a fraction of the
        # distance from the pen reference (centre / baseline).
        need = 1.0
        if top < lo + margin:
            need = min(need, (base_y - lo - margin) / (base_y - top))
        if bottom > hi - margin:
            need = min(need, (hi - margin - base_y) / (bottom - base_y))
        if left < lo + margin:
            need = min(need, (centre_x - lo - margin) / (centre_x - left))
        if right > hi - margin:
            need = min(need, (hi - margin - centre_x) / (right - centre_x))
        if need >= 1.0:
            break
        scale *= need * 0.995
    else:
        sys.exit(f"make_font_tga: glyph U+{ord(ch):04X} does not fit the cell")

    # Box filter the cell area down to texels.
    cov = bytearray(CELL * CELL)
    area = s * s
    for ty in range(CELL):
        for tx in range(CELL):
            acc = 0
            y0 = lo + ty * s
            x0 = lo + tx * s
            for y in range(y0, y0 + s):
                row = y * cw
                acc += sum(img[row + x0:row + x0 + s])
            cov[ty * CELL + tx] = (acc + area // 2) // area
    return bytes(cov), scale


def build_atlas(rnd, px, adv, codes):
    """Alpha plane of the whole atlas, SIZE x SIZE, rows from the top."""
    alpha = bytearray(SIZE * SIZE)
    scaled = []
    for code in codes:
        cov, scale = render_glyph(rnd, bytes([code]).decode("latin-1"), px, adv)
        if scale < 1.0:
            scaled.append((code, scale))
        col, row = code % GRID, code // GRID
        for y in range(CELL):
            dst = (row * CELL + y) * SIZE + col * CELL
            alpha[dst:dst + CELL] = cov[y * CELL:(y + 1) * CELL]
    return alpha, scaled


def tga_bytes(alpha):
    """32-bit uncompressed true-colour TGA, no image ID, bottom-left origin:
    pixels are B, G, R, A and the bottom image row is stored first."""
    header = struct.pack("<BBBHHBHHHHBB",
                         0,       # image ID length: none
                         0,       # no colour map
                         2,       # uncompressed true-colour
                         0, 0, 0,  # colour map fields (unused)
                         0, 0,    # x / y origin
                         SIZE, SIZE,
                         32,      # bits per pixel
                         8)       # 8 alpha bits, bottom-left origin
    assert len(header) == 18
    out = bytearray(header)
    for y in range(SIZE - 1, -1, -1):
        for a in alpha[y * SIZE:(y + 1) * SIZE]:
            out += bytes((255, 255, 255, a))
    return bytes(out)


def cell_alpha(data, code):
    """Reads the alpha of one cell straight out of a TGA file image, as rows
    from the top of the cell, independently of how the file was built."""
    col, row = code % GRID, code // GRID
    rows = []
    for y in range(CELL):
        img_y = row * CELL + y                 # from the top of the image
        file_y = SIZE - 1 - img_y              # the file starts at the bottom
        base = 18 + (file_y * SIZE + col * CELL) * 4
        rows.append([data[base + 4 * x + 3] for x in range(CELL)])
    return rows


def check_file(path):
    """Re-reads the written atlas and checks what the program relies on."""
    with open(path, "rb") as f:
        data = f.read()
    errors = []

    def expect(cond, what):
        if not cond:
            errors.append(what)

    expect(len(data) == 18 + SIZE * SIZE * 4,
           f"file size {len(data)}, expected {18 + SIZE * SIZE * 4}")
    if len(data) < 18:
        return errors
    id_len, cmap, kind = data[0], data[1], data[2]
    w, h = struct.unpack_from("<HH", data, 12)
    bpp, desc = data[16], data[17]
    expect(id_len == 0, f"image ID length {id_len}, expected 0")
    expect(cmap == 0, f"colour map type {cmap}, expected 0")
    expect(kind == 2, f"image type {kind}, expected 2")
    expect(data[3:12] == bytes(9), "bytes 3..11 are not zero")
    expect((w, h) == (SIZE, SIZE), f"size {w}x{h}, expected {SIZE}x{SIZE}")
    expect(bpp == 32, f"{bpp} bits per pixel, expected 32")
    expect(desc == 8, f"descriptor {desc}, expected 8")
    if errors:
        return errors

    pix = memoryview(data)[18:]
    expect(all(pix[i] == 255 for i in range(0, len(pix), 4))
           and all(pix[i] == 255 for i in range(1, len(pix), 4))
           and all(pix[i] == 255 for i in range(2, len(pix), 4)),
           "colour channels are not all white")

    def total(code):
        return sum(map(sum, cell_alpha(data, code)))

    expect(total(0) == 0, "cell of code 0 is not empty")
    expect(total(127) == 0 and total(159) == 0, "control cells are not empty")
    expect(total(32) == 0, "space is not empty")
    expect(total(ord("A")) > 20 * 255, "cell of 'A' has too little ink")
    for code in range(33, 127):
        expect(total(code) > 255, f"printable code {code} ({chr(code)!r}) is empty")
    expect(any(a == 255 for r in cell_alpha(data, ord("H")) for a in r),
           "'H' has no fully opaque texel")
    expect(any(0 < a < 255 for r in cell_alpha(data, ord("O")) for a in r),
           "'O' has no anti-aliased edge")

    # Orientation: '_' has its ink at the bottom of the cell, '^' at the top
    # and 'L' on the left. A flipped or mirrored atlas fails one of these.
    def halves(code):
        rows = cell_alpha(data, code)
        top = sum(sum(r) for r in rows[:CELL // 2])
        bottom = sum(sum(r) for r in rows[CELL // 2:])
        left = sum(sum(r[:CELL // 2]) for r in rows)
        right = sum(sum(r[CELL // 2:]) for r in rows)
        return top, bottom, left, right

    t, b, _, _ = halves(ord("_"))
    expect(t == 0 and b > 0, "'_' is not at the bottom of its cell")
    t, b, _, _ = halves(ord("^"))
    expect(t > 2 * b, "'^' is not at the top of its cell")
    _, _, l, r = halves(ord("L"))
    expect(l > r, "'L' is mirrored")

    # The baseline is shared: 'H' and 'x' both end on the same texel row.
    def last_row(code):
        rows = cell_alpha(data, code)
        inked = [y for y in range(CELL) if max(rows[y]) > 127]
        return inked[-1] if inked else None

    h_row, x_row = last_row(ord("H")), last_row(ord("x"))
    expect(h_row is not None and h_row == x_row,
           "'H' and 'x' do not share a baseline")
    expect(h_row is not None and CELL - 1 - h_row in (3, 4),
           "baseline is not 3..4 texels above the cell bottom")
    return errors


def main():
    ap = argparse.ArgumentParser(description="Build the text atlas font.tga")
    ap.add_argument("--font", default=DEFAULT_FONT,
                    help="TrueType/OpenType font file (default: DejaVu Sans Mono Bold)")
    ap.add_argument("--cap", type=float, default=DEFAULT_CAP,
                    help=f"cap height in texels (default {DEFAULT_CAP})")
    ap.add_argument("--out", default=DEFAULT_OUT,
                    help="output file (default: runtime/images/font.tga)")
    args = ap.parse_args()

    if not os.path.exists(args.font):
        sys.exit(f"make_font_tga: font {args.font} not found "
                 "(apt-get install fonts-dejavu-core)")
    rnd = Renderer(find_convert(), args.font)

    charset = font_charset(args.font)
    codes = [c for c in PRINTABLE if c != 32 and c != 160]   # spaces stay blank
    if charset is not None:
        missing = [c for c in codes if c not in charset]
        if any(c < 127 for c in missing):
            sys.exit("make_font_tga: font lacks printable ASCII: "
                     + "".join(chr(c) for c in missing if c < 127))
        codes = [c for c in codes if c in charset]
        if missing:
            print("not in the font, left empty:",
                  " ".join(f"{c}" for c in missing))

    adv, cap = rnd.metrics()
    if not (0.3 < adv < 1.0 and 0.4 < cap < 1.0):
        sys.exit(f"make_font_tga: implausible metrics: advance {adv:.3f} em, "
                 f"cap height {cap:.3f} em")
    px = args.cap / cap
    alpha, scaled = build_atlas(rnd, px, adv, codes)
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    tmp = args.out + ".tmp"
    with open(tmp, "wb") as f:
        f.write(tga_bytes(alpha))
    os.replace(tmp, args.out)

    errors = check_file(args.out)
    if errors:
        for e in errors:
            print("check failed:", e, file=sys.stderr)
        sys.exit(1)
    print(f"wrote {args.out}: {len(codes)} glyphs, em {px:.2f} texels, "
          f"cap height {args.cap:g}, advance {adv * px:.2f} texels")
    if scaled:
        print("scaled to fit:", ", ".join(
            f"{bytes([c]).decode('latin-1')}({c}) {s:.2f}" for c, s in scaled))


if __name__ == "__main__":
    main()
