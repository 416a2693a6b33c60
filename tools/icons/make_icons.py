#!/usr/bin/env python3
"""Draws Zemo's icons and splash screen and writes them as XPM files.

Every picture is built from signed-distance shapes (circles, rounded boxes,
polygons, strokes) rendered with supersampled anti-aliasing, then flattened to
a small palette and written in the XPM3 syntax GDK 2 loads at run time.

One style for all icons: soft rounded shapes, a dark slate outline, and a
diagonal shading lit from the top-left.

Usage:
    python3 tools/icons/make_icons.py [--out DIR] [--only NAME ...]

Needs only the Python 3 standard library, except the splash screen, whose text
is rendered by ImageMagick's `convert` with the DejaVu Sans fonts.
"""

import argparse
import math
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "..", "runtime", "images"))

# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------


def rgb(hexstr):
    hexstr = hexstr.lstrip("#")
    return tuple(int(hexstr[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def clamp01(v):
    return 0.0 if v < 0.0 else (1.0 if v > 1.0 else v)


OUTLINE = rgb("#232a37")
# Each pair is (lit side, shadow side).
PAPER = (rgb("#ffffff"), rgb("#cdd5e1"))
FOLDER_BACK = (rgb("#f2c75a"), rgb("#b8790f"))
FOLDER_FRONT = (rgb("#ffe698"), rgb("#e2a425"))
BLUE = (rgb("#86b9f5"), rgb("#2657a6"))
RED = (rgb("#ff8a7a"), rgb("#c0221c"))
GREEN = (rgb("#9be887"), rgb("#2a8a31"))
ORANGE = (rgb("#ffd27a"), rgb("#e0690c"))
METAL = (rgb("#f5f7fa"), rgb("#909bab"))
SLATE = (rgb("#a7bad6"), rgb("#34486b"))
PENCIL = (rgb("#ffe07a"), rgb("#e39a00"))
WOOD = (rgb("#f9e2bf"), rgb("#d9ac70"))
ERASER = (rgb("#ffb3c8"), rgb("#d45a7e"))
TEXT_LINE = rgb("#9fadc2")
CURVE = rgb("#2c63b8")

# Backdrop assumed behind half-covered edge pixels (a light GTK theme grey).
BACKDROP = rgb("#dcdad5")

# ---------------------------------------------------------------------------
# Shapes: a signed distance function (negative inside) and a bounding box
# ---------------------------------------------------------------------------

BIG = 1e9


class Shape:
    def __init__(self, sdf, bbox):
        self.sdf = sdf
        self.bbox = bbox  # (x0, y0, x1, y1): sdf > 0 everywhere outside it

    def __or__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: min(a(x, y), b(x, y)), bbox_union(self.bbox, other.bbox))

    def __and__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: max(a(x, y), b(x, y)), bbox_meet(self.bbox, other.bbox))

    def __sub__(self, other):
        a, b = self.sdf, other.sdf
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.bbox)

    def grow(self, r):
        f = self.sdf
        x0, y0, x1, y1 = self.bbox
        m = max(r, 0.0)
        return Shape(lambda x, y: f(x, y) - r, (x0 - m, y0 - m, x1 + m, y1 + m))

    def mirror_x(self, width):
        f = self.sdf
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: f(width - x, y), (width - x1, y0, width - x0, y1))

    def moved(self, dx, dy):
        f = self.sdf
        x0, y0, x1, y1 = self.bbox
        return Shape(lambda x, y: f(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))

    def rotated(self, degrees, cx, cy):
        """The shape turned by `degrees` (clockwise on screen) about (cx, cy)."""
        f = self.sdf
        a = math.radians(degrees)
        c, s = math.cos(a), math.sin(a)

        def g(x, y):
            dx, dy = x - cx, y - cy
            return f(cx + c * dx + s * dy, cy - s * dx + c * dy)

        x0, y0, x1, y1 = self.bbox
        pts = [(cx + c * (px - cx) - s * (py - cy), cy + s * (px - cx) + c * (py - cy))
               for px, py in ((x0, y0), (x1, y0), (x1, y1), (x0, y1))]
        return Shape(g, points_bbox(pts))


def bbox_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def bbox_meet(a, b):
    return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


def points_bbox(pts, pad=0.0):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    # Scaled circle distance: exact enough for the gentle ellipses used here.
    k = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def box(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def sdf(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - r

    return Shape(sdf, (x0, y0, x1, y1))


def polygon(pts):
    pts = [tuple(map(float, p)) for p in pts]
    pts = [p for k, p in enumerate(pts) if p != pts[k - 1]]  # drop repeated corners
    n = len(pts)
    edges = []
    for i in range(n):
        xi, yi = pts[i]
        xj, yj = pts[i - 1]
        ex, ey = xj - xi, yj - yi
        edges.append((xi, yi, yj, ex, ey, 1.0 / (ex * ex + ey * ey)))

    def sdf(x, y):
        d = BIG
        inside = False
        for xi, yi, yj, ex, ey, inv in edges:
            wx, wy = x - xi, y - yi
            t = (wx * ex + wy * ey) * inv
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            bx, by = wx - ex * t, wy - ey * t
            dd = bx * bx + by * by
            if dd < d:
                d = dd
            c1 = y >= yi
            c2 = y < yj
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or not (c1 or c2 or c3):
                inside = not inside
        d = math.sqrt(d)
        return -d if inside else d

    return Shape(sdf, points_bbox(pts))


def inset_points(pts, r):
    """Moves every edge of a simple polygon inwards by r."""
    n = len(pts)
    area = sum(pts[i - 1][0] * pts[i][1] - pts[i][0] * pts[i - 1][1] for i in range(n))
    sign = 1.0 if area > 0 else -1.0
    out = []
    for i in range(n):
        px, py = pts[i - 1]
        x, y = pts[i]
        nx_, ny_ = pts[(i + 1) % n]
        d1 = (x - px, y - py)
        d2 = (nx_ - x, ny_ - y)
        l1 = math.hypot(*d1)
        l2 = math.hypot(*d2)
        n1 = (-d1[1] / l1 * sign, d1[0] / l1 * sign)
        n2 = (-d2[1] / l2 * sign, d2[0] / l2 * sign)
        k = r / (1.0 + n1[0] * n2[0] + n1[1] * n2[1])
        out.append((x + (n1[0] + n2[0]) * k, y + (n1[1] + n2[1]) * k))
    return out


def rounded_polygon(pts, r):
    """The polygon with its corners rounded by r, keeping its straight edges in place."""
    return polygon(inset_points(pts, r)).grow(r)


def segment(ax, ay, bx, by, r):
    ex, ey = bx - ax, by - ay
    ll = ex * ex + ey * ey or 1e-12

    def sdf(x, y):
        wx, wy = x - ax, y - ay
        t = (wx * ex + wy * ey) / ll
        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
        return math.hypot(wx - ex * t, wy - ey * t) - r

    return Shape(sdf, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r))


def stroke(pts, r, cell=12.0):
    """A round-capped line of radius r through pts.

    Segments are filed in a coarse grid so long lines stay cheap to evaluate.
    """
    segs = []
    for (ax, ay), (bx, by) in zip(pts, pts[1:]):
        ex, ey = bx - ax, by - ay
        segs.append((ax, ay, ex, ey, 1.0 / (ex * ex + ey * ey or 1e-12),
                     min(ax, bx), min(ay, by), max(ax, bx), max(ay, by)))
    reach = r + 2.0
    grid = {}
    for s in segs:
        gx0 = int(math.floor((s[5] - reach) / cell))
        gx1 = int(math.floor((s[7] + reach) / cell))
        gy0 = int(math.floor((s[6] - reach) / cell))
        gy1 = int(math.floor((s[8] + reach) / cell))
        for gx in range(gx0, gx1 + 1):
            for gy in range(gy0, gy1 + 1):
                grid.setdefault((gx, gy), []).append(s)

    def sdf(x, y):
        cand = grid.get((int(math.floor(x / cell)), int(math.floor(y / cell))))
        if not cand:
            return reach
        d = BIG
        for ax, ay, ex, ey, inv, *_ in cand:
            wx, wy = x - ax, y - ay
            t = (wx * ex + wy * ey) * inv
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            bx, by = wx - ex * t, wy - ey * t
            dd = bx * bx + by * by
            if dd < d:
                d = dd
        return min(math.sqrt(d) - r, reach)

    return Shape(sdf, points_bbox(pts, r))


def union(shapes):
    out = shapes[0]
    for s in shapes[1:]:
        out = out | s
    return out


def sample(f, t0, t1, n):
    return [f(t0 + (t1 - t0) * k / n) for k in range(n + 1)]


def bezier(p0, p1, p2, p3, n=40):
    def f(t):
        u = 1 - t
        return (u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1])
    return sample(f, 0.0, 1.0, n)


# ---------------------------------------------------------------------------
# Paints
# ---------------------------------------------------------------------------


def lit(pair, bbox):
    """Diagonal shading across bbox: the lit colour top-left, the shadow colour bottom-right."""
    light, dark = pair
    x0, y0, x1, y1 = bbox
    span = (x1 - x0) + (y1 - y0) or 1.0

    def paint(x, y):
        return mix(light, dark, clamp01(((x - x0) + (y - y0)) / span))

    return paint


def sphere_paint(pair, cx, cy, r):
    """Shading of a ball lit from the top-left."""
    light, dark = pair
    hx, hy = cx - 0.38 * r, cy - 0.38 * r

    def paint(x, y):
        t = clamp01(math.hypot(x - hx, y - hy) / (1.45 * r))
        return mix(light, dark, t ** 1.1)

    return paint


def horizontal(c0, c1, xa, xb):
    def paint(x, y):
        return mix(c0, c1, clamp01((x - xa) / (xb - xa)))
    return paint


# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------


class Canvas:
    """RGBA picture, premultiplied floats, drawn with ss x ss samples per pixel."""

    def __init__(self, w, h, ss=4):
        self.w, self.h, self.ss = w, h, ss
        n = w * h
        self.r = [0.0] * n
        self.g = [0.0] * n
        self.b = [0.0] * n
        self.a = [0.0] * n
        self.offs = [(k + 0.5) / ss for k in range(ss)]

    def fill(self, shape, paint, opacity=1.0):
        x0, y0, x1, y1 = shape.bbox
        i0 = max(0, int(math.floor(x0)) - 1)
        j0 = max(0, int(math.floor(y0)) - 1)
        i1 = min(self.w, int(math.ceil(x1)) + 1)
        j1 = min(self.h, int(math.ceil(y1)) + 1)
        sdf = shape.sdf
        ss = self.ss
        offs = self.offs
        inv = 1.0 / (ss * ss)
        near = 0.5 if ss == 1 else 0.75
        call = callable(paint)
        w = self.w
        R, G, B, A = self.r, self.g, self.b, self.a
        for j in range(j0, j1):
            for i in range(i0, i1):
                d = sdf(i + 0.5, j + 0.5)
                if d >= near:
                    continue
                if ss == 1:
                    cov = 0.5 - d
                    if cov > 1.0:
                        cov = 1.0
                elif d <= -near:
                    cov = 1.0
                else:
                    cov = 0.0
                    for oy in offs:
                        for ox in offs:
                            c = 0.5 - sdf(i + ox, j + oy) * ss
                            cov += 0.0 if c < 0.0 else (1.0 if c > 1.0 else c)
                    cov *= inv
                    if cov <= 0.0:
                        continue
                col = paint(i + 0.5, j + 0.5) if call else paint
                a = cov * opacity
                if len(col) > 3:
                    a *= col[3]
                k = j * w + i
                keep = 1.0 - a
                R[k] = col[0] * a + R[k] * keep
                G[k] = col[1] * a + G[k] * keep
                B[k] = col[2] * a + B[k] * keep
                A[k] = a + A[k] * keep

    def fill_mask(self, mask, paint, opacity=1.0):
        """Paints through a coverage mask (one float per pixel, 0..1)."""
        call = callable(paint)
        w = self.w
        R, G, B, A = self.r, self.g, self.b, self.a
        for k, m in enumerate(mask):
            if m <= 0.0:
                continue
            col = paint(k % w + 0.5, k // w + 0.5) if call else paint
            a = m * opacity
            if len(col) > 3:
                a *= col[3]
            keep = 1.0 - a
            R[k] = col[0] * a + R[k] * keep
            G[k] = col[1] * a + G[k] * keep
            B[k] = col[2] * a + B[k] * keep
            A[k] = a + A[k] * keep

    def pixels(self, backdrop=BACKDROP, threshold=0.3):
        """Flattens to rows of (r, g, b) byte triples, or None where transparent.

        Pixels covered at least `threshold` are kept, their partial coverage
        blended onto the backdrop so outer edges stay smooth on a light theme.
        """
        out = []
        for j in range(self.h):
            row = []
            for i in range(self.w):
                k = j * self.w + i
                a = self.a[k]
                if a < threshold:
                    row.append(None)
                    continue
                if a > 0.999:
                    c = (self.r[k] / a, self.g[k] / a, self.b[k] / a)
                else:
                    keep = 1.0 - a
                    c = (self.r[k] + backdrop[0] * keep, self.g[k] + backdrop[1] * keep,
                         self.b[k] + backdrop[2] * keep)
                row.append(tuple(int(round(clamp01(v) * 255)) for v in c))
            out.append(row)
        return out


# Drawing helpers shared by all icons ----------------------------------------

OW = 1.0  # outline width


def solid(cv, shape, pair, ow=OW, paint=None):
    """A shape with a dark outline and top-left lit shading."""
    cv.fill(shape.grow(ow / 2.0), OUTLINE)
    cv.fill(shape.grow(-ow / 2.0), paint or lit(pair, shape.bbox))


def mark(cv, cx, cy, r, pair=ORANGE, highlight=True):
    """A capture mark: a shaded ball with an outline."""
    cv.fill(circle(cx, cy, r + OW / 2.0), OUTLINE)
    cv.fill(circle(cx, cy, r - OW / 2.0), sphere_paint(pair, cx, cy, r))
    if highlight and r >= 2.5:
        cv.fill(circle(cx - 0.35 * r, cy - 0.35 * r, 0.28 * r), (1, 1, 1), 0.85)


# ---------------------------------------------------------------------------
# Motifs
# ---------------------------------------------------------------------------


def folder(cv, back_pts, paper_box, front_pts, r=1.0):
    back = rounded_polygon(back_pts, r)
    solid(cv, back, FOLDER_BACK)
    x0, y0, x1, y1 = paper_box
    solid(cv, box(x0, y0, x1, y1, 0.5), PAPER)
    solid(cv, rounded_polygon(front_pts, r), FOLDER_FRONT)


def floppy(cv, x0, y0, x1, y1, big=True):
    cut = 2.5 if big else 2.0
    body = rounded_polygon([(x0, y0), (x1 - cut, y0), (x1, y0 + cut), (x1, y1), (x0, y1)], 1.0)
    solid(cv, body, BLUE)
    w = x1 - x0
    # Metal shutter with its window.
    sx0, sx1 = x0 + round(w * 0.24), x1 - round(w * 0.24)
    sy1 = y0 + (6 if big else 5)
    solid(cv, box(sx0, y0, sx1, sy1, 0.5), METAL)
    wx1 = sx1 - 1.5
    cv.fill(box(wx1 - (2 if big else 1.5), y0 + 1.5, wx1, sy1 - 1.5, 0.3), rgb("#3b4557"))
    # Paper label.
    ly0 = y0 + (9 if big else 7)
    solid(cv, box(x0 + 3, ly0, x1 - 3, y1, 0.5), PAPER)
    lines = (2, 4.5) if big else (2,)
    for dy in lines:
        cv.fill(box(x0 + 4.5, ly0 + dy - 0.5, x1 - 4.5, ly0 + dy + 0.5), TEXT_LINE)


def pencil(cv, tip, end, hw):
    """A pencil from its point `tip` to its eraser `end`; hw is half its thickness."""
    tx, ty = tip
    ax, ay = end[0] - tx, end[1] - ty
    length = math.hypot(ax, ay)
    ux, uy = ax / length, ay / length
    nx_, ny_ = -uy, ux

    def at(u, v):
        return (tx + ux * u + nx_ * v, ty + uy * u + ny_ * v)

    def part(quad):
        return polygon([at(u, v) for u, v in quad])

    cone = hw * 2.3
    ferrule = max(1.5, hw * 0.8)
    eraser = max(1.6, hw * 0.9)
    body_end = length - ferrule - eraser
    wood = part([(0, 0), (cone, -hw), (cone, hw)])
    lead = part([(0, 0), (cone * 0.42, -hw * 0.42), (cone * 0.42, hw * 0.42)])
    body = part([(cone, -hw), (body_end, -hw), (body_end, hw), (cone, hw)])
    metal = part([(body_end, -hw), (body_end + ferrule, -hw), (body_end + ferrule, hw), (body_end, hw)])
    rubber = part([(body_end + ferrule, -hw), (length, -hw), (length, hw), (body_end + ferrule, hw)])
    whole = rounded_polygon([at(0, 0), at(cone, -hw), at(length, -hw), at(length, hw), at(cone, hw)], 0.4)
    cv.fill(whole.grow(OW / 2.0), OUTLINE)
    inner = whole.grow(-OW / 2.0)
    bb = whole.bbox
    cv.fill(wood & inner, lit(WOOD, bb))
    cv.fill(body & inner, lit(PENCIL, bb))
    cv.fill(metal & inner, lit(METAL, bb))
    cv.fill(rubber & inner, lit(ERASER, bb))
    cv.fill(lead & inner, rgb("#3a3f4a"))


def eye(cv, cx, cy, hw, hh, iris_r):
    """An almond eye, half-width hw and half-height hh, with iris and catch-light."""
    R = (hw * hw + hh * hh) / (2.0 * hh)
    upper = circle(cx, cy + (R - hh), R)
    lower = circle(cx, cy - (R - hh), R)
    almond = upper & lower
    almond.bbox = (cx - hw, cy - hh, cx + hw, cy + hh)
    cv.fill(almond.grow(OW / 2.0), OUTLINE)
    white = almond.grow(-OW / 2.0)
    cv.fill(white, lit(PAPER, almond.bbox))
    iris = circle(cx, cy, iris_r) & white
    cv.fill(iris, sphere_paint((rgb("#7cc3ff"), rgb("#1f4f9a")), cx, cy, iris_r))
    cv.fill(circle(cx, cy, iris_r * 0.45), rgb("#111722"))
    cv.fill(circle(cx - iris_r * 0.38, cy - iris_r * 0.38, max(0.55, iris_r * 0.26)), (1, 1, 1), 0.95)


def outlined_line(cv, pts, r, paint, ow=OW):
    """A stroke of radius r (to the outline's middle) with a dark outline."""
    s = stroke(pts, r)
    cv.fill(s.grow(ow / 2.0), OUTLINE)
    cv.fill(s.grow(-ow / 2.0), paint)


def wave(x0, x1, yc, amp, periods, phase=0.0, n=60):
    return sample(lambda x: (x, yc - amp * math.sin((x - x0) / (x1 - x0) * periods * 2 * math.pi + phase)),
                  x0, x1, n)


def jagged_to_smooth(x0, x1, yc, amp):
    """A noisy zig-zag on the left that settles into a smooth wave on the right."""
    mid = x0 + (x1 - x0) * 0.47
    offs = [0.1, 0.95, -0.85, 0.55, -0.3]
    step = (mid - x0) / (len(offs) - 1)
    pts = [(x0 + step * k, yc - amp * o) for k, o in enumerate(offs)]
    pts[-1] = (mid, yc)
    smooth = sample(lambda x: (x, yc + amp * 0.75 * math.sin((x - mid) / (x1 - mid) * 2 * math.pi)),
                    mid, x1, 40)
    return pts + smooth


def smoothing_line(cv, pts, r, x_mid):
    """The smoothing motif's line: hot and noisy on the left, calm blue on the right."""
    outlined_line(cv, pts, r, horizontal(rgb("#ff6f45"), rgb("#4f9cf2"), x_mid - 1.5, x_mid + 1.5))


# ---------------------------------------------------------------------------
# Icons
# ---------------------------------------------------------------------------

ICONS = []


def icon(name, size):
    def register(fn):
        ICONS.append((name, size, fn))
        return fn
    return register


# Toolbar, 24 x 24 -----------------------------------------------------------


@icon("abrir.XPM", 24)
def draw_abrir(cv):
    folder(cv,
           [(1.5, 4.5), (8.5, 4.5), (10.5, 6.5), (19.5, 6.5), (19.5, 20.5), (1.5, 20.5)],
           (4.5, 8.5, 17.5, 17.5),
           [(6.5, 10.5), (22.8, 10.5), (19.5, 20.5), (1.5, 20.5)])


@icon("guardar.XPM", 24)
def draw_guardar(cv):
    floppy(cv, 2.5, 2.5, 21.5, 21.5)


@icon("cerrar.XPM", 24)
def draw_cerrar(cv):
    doc = rounded_polygon([(3.5, 1.5), (12.5, 1.5), (17.5, 6.5), (17.5, 21.5), (3.5, 21.5)], 0.8)
    solid(cv, doc, PAPER)
    solid(cv, polygon([(12.5, 1.5), (12.5, 6.5), (17.5, 6.5)]), (rgb("#e8edf4"), rgb("#aab5c6")))
    for y, x1 in ((5, 10), (8, 15), (11, 14), (14, 10)):
        cv.fill(box(6, y, x1, y + 1), TEXT_LINE)
    cx, cy, r = 16.5, 16.5, 6.0
    cv.fill(circle(cx, cy, r + OW / 2.0), OUTLINE)
    cv.fill(circle(cx, cy, r - OW / 2.0), sphere_paint(RED, cx, cy, r))
    k = 2.6
    cross = segment(cx - k, cy - k, cx + k, cy + k, 1.1) | segment(cx + k, cy - k, cx - k, cy + k, 1.1)
    cv.fill(cross, (1, 1, 1))


def gap_bridge(cv, f, x0, x1, left, right, mark_r, line_r):
    """A trajectory whose marks were lost between `left` and `right`: solid blue
    where seen, a thin green reconstruction across the hole with the recovered
    mark, green, in its middle."""
    seen_a = sample(lambda x: (x, f(x)), x0, left[-1], 24)
    seen_b = sample(lambda x: (x, f(x)), right[0], x1, 24)
    for part in (seen_a, seen_b):
        s = stroke(part, line_r)
        cv.fill(s.grow(OW / 2.0), OUTLINE)
        cv.fill(s.grow(-OW / 2.0), CURVE)
    gap = stroke(sample(lambda x: (x, f(x)), left[-1], right[0], 60), line_r * 0.7)
    cv.fill(gap, rgb("#27a844"))
    for x in left + right:
        mark(cv, x, f(x), mark_r)
    xm = (left[-1] + right[0]) / 2.0
    mark(cv, xm, f(xm), mark_r, GREEN)


@icon("interpolar.XPM", 24)
def draw_interpolar(cv):
    def f(x):
        return 19.5 - 14.0 * math.sin(math.pi * (x - 0.5) / 23.0)

    gap_bridge(cv, f, 1.0, 23.0, [2.5, 6.0], [18.0, 21.5], 2.1, 1.0)


@icon("suavizar.XPM", 24)
def draw_suavizar(cv):
    smoothing_line(cv, jagged_to_smooth(1.8, 22.2, 12.0, 7.0), 1.05, 11.4)


@icon("ambos.XPM", 24)
def draw_ambos(cv):
    smoothing_line(cv, jagged_to_smooth(1.8, 22.2, 5.6, 3.9), 0.95, 11.4)

    def f(x):
        return 21.5 - 7.5 * math.sin(math.pi * (x - 0.5) / 23.0)

    gap_bridge(cv, f, 1.0, 23.0, [3.2], [20.8], 2.0, 0.85)


# Frame controls, 20 x 20 ----------------------------------------------------


def arrow_left(x_tip, x_base, yc, hh):
    return [(x_tip, yc), (x_base, yc - hh), (x_base, yc + hh)]


def first_shape():
    """|<< : to the first frame."""
    bar = box(2.5, 4.0, 5.5, 16.0, 0.8)
    tri = rounded_polygon(arrow_left(6.0, 11.5, 10.0, 6.0), 0.8) | \
        rounded_polygon(arrow_left(11.0, 16.5, 10.0, 6.0), 0.8)
    return bar | tri


def back_shape():
    """|< : one frame back."""
    bar = box(3.5, 4.0, 6.5, 16.0, 0.8)
    return bar | rounded_polygon(arrow_left(7.0, 15.5, 10.0, 6.0), 0.9)


@icon("primero.XPM", 20)
def draw_primero(cv):
    solid(cv, first_shape(), SLATE)


@icon("atras.XPM", 20)
def draw_atras(cv):
    solid(cv, back_shape(), SLATE)


@icon("play.XPM", 20)
def draw_play(cv):
    tri = rounded_polygon([(5.0, 3.0), (17.0, 10.0), (5.0, 17.0)], 1.2)
    solid(cv, tri, GREEN)


@icon("alante.XPM", 20)
def draw_alante(cv):
    solid(cv, back_shape().mirror_x(20.0), SLATE)


@icon("ultimo.XPM", 20)
def draw_ultimo(cv):
    solid(cv, first_shape().mirror_x(20.0), SLATE)


@icon("rec.XPM", 20)
def draw_rec(cv):
    mark(cv, 10.0, 10.0, 6.8, RED)


# Layers panel, 16 x 16 ------------------------------------------------------


@icon("mini_tool.xpm", 16)
def draw_mini_tool(cv):
    # An open-ended spanner lying corner to corner.
    hx, hy = 10.6, 5.4
    head = circle(hx, hy, 4.3)
    handle = segment(2.6, 13.4, hx, hy, 1.6)
    jaw = box(-1.55, -1.0, 1.55, 7.0, 0.3).rotated(225.0, 0.0, 0.0).moved(hx, hy)
    spanner = (head | handle) - jaw
    solid(cv, spanner, METAL)
    cv.fill(circle(3.6, 12.4, 0.75), OUTLINE)


@icon("mini_eye.xpm", 16)
def draw_mini_eye(cv):
    eye(cv, 8.0, 8.0, 7.2, 4.6, 3.0)


def layer_sheet(cx, cy, hw, hh):
    return rounded_polygon([(cx - hw, cy), (cx, cy - hh), (cx + hw, cy), (cx, cy + hh)], 0.5)


@icon("viewall.xpm", 16)
def draw_viewall(cv):
    colours = [(rgb("#9fd0ff"), rgb("#3b6fb8")),
               (rgb("#a9e59a"), rgb("#3b8f3e")),
               (rgb("#ffd58a"), rgb("#d27a12"))]
    for cy, pair in zip((12.3, 10.3, 8.3), colours):
        solid(cv, layer_sheet(8.0, cy, 7.0, 3.2), pair)
    eye(cv, 8.0, 4.6, 5.8, 3.8, 2.3)


# Small buttons and notebook tabs, 16 x 16 -----------------------------------


@icon("s_aceptar.XPM", 16)
def draw_s_aceptar(cv):
    outlined_line(cv, [(3.2, 8.4), (6.6, 11.8), (12.8, 4.0)], 1.6, lit(GREEN, (2, 3, 14, 13)))


@icon("s_cancelar.XPM", 16)
def draw_s_cancelar(cv):
    cross = segment(4.0, 4.0, 12.0, 12.0, 1.6) | segment(12.0, 4.0, 4.0, 12.0, 1.6)
    solid(cv, cross, RED)


@icon("s_abrir.XPM", 16)
def draw_s_abrir(cv):
    folder(cv,
           [(0.5, 2.5), (5.5, 2.5), (7.0, 4.0), (13.5, 4.0), (13.5, 13.5), (0.5, 13.5)],
           (2.5, 5.5, 11.5, 11.5),
           [(4.0, 7.5), (15.5, 7.5), (13.0, 13.5), (0.5, 13.5)],
           r=0.7)


@icon("s_guardar.XPM", 16)
def draw_s_guardar(cv):
    floppy(cv, 1.5, 1.5, 14.5, 14.5, big=False)


@icon("s_guardar_como.XPM", 16)
def draw_s_guardar_como(cv):
    floppy(cv, 0.5, 0.5, 12.5, 12.5, big=False)
    pencil(cv, (6.2, 15.0), (15.3, 5.9), 1.55)


@icon("s_editar.XPM", 16)
def draw_s_editar(cv):
    pencil(cv, (1.6, 14.4), (14.2, 1.8), 2.2)


@icon("s_anadir.XPM", 16)
def draw_s_anadir(cv):
    plus = box(5.5, 1.5, 10.5, 14.5, 0.9) | box(1.5, 5.5, 14.5, 10.5, 0.9)
    solid(cv, plus, GREEN)


@icon("s_eliminar.XPM", 16)
def draw_s_eliminar(cv):
    solid(cv, box(1.5, 5.5, 14.5, 10.5, 0.9), RED)


@icon("s_intercambiar.XPM", 16)
def draw_s_intercambiar(cv):
    right = rounded_polygon([(0.5, 3.5), (8.5, 3.5), (8.5, 0.8), (15.2, 5.0),
                             (8.5, 9.2), (8.5, 6.5), (0.5, 6.5)], 0.5)
    left = right.mirror_x(16.0).moved(0.0, 6.5)
    solid(cv, left, GREEN)
    solid(cv, right, BLUE)


@icon("s_ejecutar.XPM", 16)
def draw_s_ejecutar(cv):
    pts = bezier((1.5, 13.5), (5.0, 15.5), (6.5, 2.0), (14.5, 2.5))
    s = stroke(pts, 0.85)
    cv.fill(s.grow(0.45), OUTLINE)
    cv.fill(s.grow(-0.35), rgb("#4d8fe0"))
    mark(cv, 2.6, 13.4, 2.0)
    mark(cv, 13.3, 2.6, 2.0)
    # The point being edited, with its tangent handle.
    px, py = pts[20]
    qx, qy = pts[22]
    tx, ty = qx - px, qy - py
    tl = math.hypot(tx, ty)
    tx, ty = tx / tl * 4.4, ty / tl * 4.4
    cv.fill(segment(px - tx, py - ty, px + tx, py + ty, 0.45), OUTLINE)
    for sx in (-1, 1):
        cv.fill(circle(px + sx * tx, py + sx * ty, 1.15), OUTLINE)
    solid(cv, box(px - 2.0, py - 2.0, px + 2.0, py + 2.0, 0.3), PAPER)


@icon("s_suavizar.XPM", 16)
def draw_s_suavizar(cv):
    noisy = [(0.8, 9.0), (2.6, 3.5), (4.4, 11.5), (6.2, 3.0), (8.0, 12.0), (9.8, 5.0),
             (11.6, 13.0), (13.4, 6.5), (15.2, 10.5)]
    cv.fill(stroke(noisy, 0.5), rgb("#8a94a6"))
    s = stroke(wave(1.8, 14.2, 8.0, 4.0, 1.0), 1.2)
    cv.fill(s.grow(OW / 2.0), OUTLINE)
    cv.fill(s.grow(-OW / 2.0), lit(BLUE, (1, 3, 15, 13)))


@icon("s_inferencia.XPM", 16)
def draw_s_inferencia(cv):
    # Three fuzzy sets (low, medium, high) over one variable.
    base, top = 13.5, 2.5
    sets = [([(0.0, top), (3.0, top), (8.0, base)], BLUE),
            ([(3.0, base), (8.0, top), (13.0, base)], GREEN),
            ([(8.0, base), (13.0, top), (16.0, top)], ORANGE)]
    for pts, pair in sets:
        area = pts + [(pts[-1][0], base), (pts[0][0], base)]
        cv.fill(polygon(area), pair[0], 0.55)
    for pts, pair in sets:
        cv.fill(stroke(pts, 0.8), pair[1])
    cv.fill(box(0.0, base, 16.0, base + 1.6, 0.3), OUTLINE)


@icon("s_esqueleto.XPM", 16)
def draw_s_esqueleto(cv):
    neck, pelvis = (8.0, 6.2), (8.0, 10.0)
    hands = [(3.0, 9.6), (13.0, 9.6)]
    feet = [(4.3, 14.6), (11.7, 14.6)]
    bones = [[neck, pelvis]] + [[neck, h] for h in hands] + [[pelvis, f] for f in feet]
    skeleton = union([stroke(b, 0.75) for b in bones])
    cv.fill(skeleton, rgb("#3a475e"))
    head = circle(8.0, 3.0, 2.5)
    cv.fill(head.grow(0.5), OUTLINE)
    cv.fill(head.grow(-0.5), sphere_paint(ORANGE, 8.0, 3.0, 2.5))
    for x, y in [neck, pelvis] + hands + feet:
        cv.fill(circle(x, y, 1.75), OUTLINE)
        cv.fill(circle(x, y, 0.95), sphere_paint(ORANGE, x, y, 1.3))


# ---------------------------------------------------------------------------
# Splash screen
# ---------------------------------------------------------------------------

SPLASH_W, SPLASH_H = 500, 310
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
FONT_BOOK = os.path.join(FONT_DIR, "DejaVuSans.ttf")


def text_mask(text, font, size, x, y, blur=0.0, spacing=0.0):
    """Coverage mask of `text` with its baseline starting at (x, y), rendered by ImageMagick."""
    if not os.path.exists(font):
        sys.exit("make_icons: font %s not found (Debian package fonts-dejavu-core)" % font)
    cmd = ["convert", "-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:black",
           "-font", font, "-pointsize", str(size), "-kerning", str(spacing),
           "-fill", "white", "-annotate", "+%d+%d" % (x, y), text]
    if blur:
        cmd += ["-blur", "0x%g" % blur]
    cmd += ["-depth", "8", "gray:-"]
    try:
        raw = subprocess.run(cmd, check=True, stdout=subprocess.PIPE).stdout
    except FileNotFoundError:
        sys.exit("make_icons: ImageMagick's convert is needed to draw the splash text")
    if len(raw) != SPLASH_W * SPLASH_H:
        sys.exit("make_icons: convert returned %d bytes for a %dx%d mask" % (len(raw), SPLASH_W, SPLASH_H))
    return [v / 255.0 for v in raw]


def mask_extent(mask):
    xs = [k % SPLASH_W for k, v in enumerate(mask) if v > 0.2]
    ys = [k // SPLASH_W for k, v in enumerate(mask) if v > 0.2]
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


# A walking figure, seen three-quarters from the front, heading right.
_POSE = {
    "head": (371, 52), "neck": (368, 88),
    "shoulder_r": (347, 96), "shoulder_l": (392, 93),
    "elbow_r": (335, 131), "elbow_l": (408, 126),
    "wrist_r": (324, 165), "wrist_l": (428, 151),
    "chest": (369, 124), "pelvis": (368, 160),
    "hip_r": (353, 165), "hip_l": (384, 163),
    "knee_r": (341, 211), "knee_l": (401, 208),
    "ankle_r": (323, 252), "ankle_l": (409, 255),
    "toe_r": (338, 265), "toe_l": (430, 265),
}
FIGURE = {name: (x + 40, y) for name, (x, y) in _POSE.items()}
BONES = [("head", "neck"), ("neck", "shoulder_r"), ("neck", "shoulder_l"),
         ("shoulder_r", "elbow_r"), ("elbow_r", "wrist_r"),
         ("shoulder_l", "elbow_l"), ("elbow_l", "wrist_l"),
         ("neck", "chest"), ("chest", "pelvis"), ("pelvis", "hip_r"), ("pelvis", "hip_l"),
         ("hip_r", "knee_r"), ("knee_r", "ankle_r"), ("ankle_r", "toe_r"),
         ("hip_l", "knee_l"), ("knee_l", "ankle_l"), ("ankle_l", "toe_l")]
FLOOR_Y = 268.0


def splash_trails():
    """Paths some marks followed over the last frames, ending where they are now."""
    trails = []

    def add(name, length, fn, colour):
        x1, y1 = FIGURE[name]
        pts = [(x1 - s, y1 + fn(s) - fn(0.0)) for s in [length * k / 120.0 for k in range(121)]]
        trails.append((pts[::-1], colour))

    cyan, amber = rgb("#5fd0ff"), rgb("#ffb347")
    add("head", 250, lambda s: 5.0 * math.sin(s / 48.0 * math.pi), cyan)
    add("wrist_l", 220, lambda s: 14.0 * math.sin(s / 70.0 * math.pi + 1.2), amber)
    add("wrist_r", 170, lambda s: -12.0 * math.sin(s / 70.0 * math.pi + 0.6), cyan)
    add("ankle_l", 240,
        lambda s: -16.0 * max(0.0, math.sin(s / 95.0 * math.pi + 0.45)) ** 1.5, amber)
    add("ankle_r", 190,
        lambda s: -14.0 * max(0.0, math.sin(s / 95.0 * math.pi + 2.1)) ** 1.5, cyan)
    return trails


def draw_splash():
    cv = Canvas(SPLASH_W, SPLASH_H, ss=2)
    top, bottom = rgb("#15295a"), rgb("#040a19")
    glow_c = rgb("#2a5aa8")
    gx, gy = 412.0, 150.0

    def background(x, y):
        c = mix(top, bottom, (y / SPLASH_H) ** 0.9)
        g = max(0.0, 1.0 - math.hypot((x - gx) / 200.0, (y - gy) / 170.0))
        return mix(c, glow_c, 0.55 * g * g)

    cv.fill(box(0, 0, SPLASH_W, SPLASH_H), background)

    # Floor: a faint perspective grid fading into the distance.
    vx, vy = 412.0, 200.0
    grid = rgb("#6f9fe0")
    for k in range(-9, 10):
        xb = vx + k * 70.0
        ya = FLOOR_Y - 6
        xa = vx + (xb - vx) * (ya - vy) / (SPLASH_H + 40 - vy)
        cv.fill(segment(xa, ya, xb, SPLASH_H + 40, 0.5), grid, 0.13)
    for k in range(6):
        y = vy + (FLOOR_Y - 6 - vy) * (1.0 + k * 0.28 + k * k * 0.12)
        cv.fill(segment(-5, y, SPLASH_W + 5, y, 0.5), grid, 0.13)

    # Trails left by the marks: a thin faint line dotted at every sample.
    for pts, colour in splash_trails():
        n = len(pts)
        cv.fill(stroke(pts, 0.6), colour, 0.18)
        for k in range(0, n - 1, 6):
            t = k / (n - 1)
            x, y = pts[k]
            cv.fill(circle(x, y, 1.1 + 1.0 * t), colour, 0.15 + 0.55 * t * t)

    # Shadow on the floor.
    cv.fill(ellipse(418, FLOOR_Y + 2, 70, 7), (0, 0, 0), 0.35)

    # Bones, with a soft glow under them.
    bone_glow = rgb("#4fb8ff")
    for a, b in BONES:
        (ax, ay), (bx, by) = FIGURE[a], FIGURE[b]
        cv.fill(segment(ax, ay, bx, by, 5.5), bone_glow, 0.10)
    for a, b in BONES:
        (ax, ay), (bx, by) = FIGURE[a], FIGURE[b]
        cv.fill(segment(ax, ay, bx, by, 2.0), rgb("#b9e4ff"), 0.9)

    # Marks: retro-reflective balls, bright under the cameras' light.
    ball = (rgb("#ffffff"), rgb("#5c7da8"))
    for name, (x, y) in FIGURE.items():
        r = 13.0 if name == "head" else (6.0 if name in ("chest", "pelvis") else 6.8)
        halo = r * 2.6

        def glow(px, py, x=x, y=y, halo=halo):
            t = clamp01(1.0 - math.hypot(px - x, py - y) / halo)
            return (0.55, 0.85, 1.0, 0.45 * t * t)

        cv.fill(circle(x, y, halo), glow)
        cv.fill(circle(x, y, r + 1.0), rgb("#0a1530"), 0.8)
        cv.fill(circle(x, y, r), sphere_paint(ball, x, y, r))
        cv.fill(circle(x - 0.36 * r, y - 0.36 * r, 0.28 * r), (1, 1, 1), 0.9)

    # Title block.
    title_x, title_base = 30, 128
    title = text_mask("ZEMO", FONT_BOLD, 88, title_x, title_base, spacing=4)
    x0, y0, x1, y1 = mask_extent(title)
    halo = text_mask("ZEMO", FONT_BOLD, 88, title_x, title_base, blur=6, spacing=4)
    cv.fill_mask(halo, rgb("#3f9bff"), 0.55)
    shadow = text_mask("ZEMO", FONT_BOLD, 88, title_x + 3, title_base + 3, spacing=4)
    cv.fill_mask(shadow, rgb("#020610"), 0.6)
    cv.fill_mask(title, lambda x, y: mix(rgb("#ffffff"), rgb("#9fd4ff"), clamp01((y - y0) / (y1 - y0))))

    rule_y = title_base + 18
    cv.fill(box(x0, rule_y, x1, rule_y + 2, 1.0),
            horizontal(rgb("#ffb347") + (1.0,), rgb("#ffb347") + (0.0,), x0, x1))
    version = text_mask("Version 1.2", FONT_BOOK, 20, x0 + 1, rule_y + 30)
    cv.fill_mask(version, rgb("#ffc56e"))
    subtitle = text_mask("Motion capture viewer and editor", FONT_BOOK, 16, x0 + 1, rule_y + 66)
    cv.fill_mask(subtitle, rgb("#c9dcf5"))

    return cv


# ---------------------------------------------------------------------------
# Palette reduction
# ---------------------------------------------------------------------------

WEIGHTS = (2.0, 4.0, 3.0)


def median_cut(hist, ncolors):
    """Splits the colour histogram into at most ncolors boxes, always cutting the
    box with the largest squared error along its widest-spread channel."""

    def stats(items):
        n = sum(c for _, c in items)
        means = [sum(col[ch] * c for col, c in items) / n for ch in range(3)]
        spread = [sum(c * (col[ch] - means[ch]) ** 2 for col, c in items) * WEIGHTS[ch] for ch in range(3)]
        return sum(spread), spread.index(max(spread)), means

    boxes = [(list(hist.items()),) + stats(list(hist.items()))]
    while len(boxes) < ncolors:
        best = max(range(len(boxes)), key=lambda k: boxes[k][1] if len(boxes[k][0]) > 1 else -1)
        items, err, ch, _ = boxes[best]
        if len(items) < 2 or err <= 0:
            break
        items.sort(key=lambda it: it[0][ch])
        total = sum(c for _, c in items)
        acc, cut = 0, 1
        for k, (_, c) in enumerate(items[:-1]):
            acc += c
            cut = k + 1
            if acc * 2 >= total:
                break
        a, b = items[:cut], items[cut:]
        boxes[best] = (a,) + stats(a)
        boxes.append((b,) + stats(b))
    return [tuple(int(round(v)) for v in bx[3]) for bx in boxes]


def nearest_map(colours, palette):
    wr, wg, wb = WEIGHTS
    out = {}
    for col in colours:
        r, g, b = col
        best, bd = 0, BIG
        for k, (pr, pg, pb) in enumerate(palette):
            d = wr * (r - pr) ** 2 + wg * (g - pg) ** 2 + wb * (b - pb) ** 2
            if d < bd:
                bd, best = d, k
        out[col] = best
    return out


def quantise(rows, ncolors):
    """Reduces the opaque colours of `rows` to at most ncolors; returns (palette, index rows)
    where transparent pixels get index None."""
    hist = {}
    for row in rows:
        for c in row:
            if c is not None:
                hist[c] = hist.get(c, 0) + 1
    if len(hist) <= ncolors:
        palette = sorted(hist)
        lookup = {c: k for k, c in enumerate(palette)}
    else:
        palette = median_cut(hist, ncolors)
        lookup = nearest_map(hist, palette)
        # One refinement round: move every entry to the mean of what it now stands for.
        sums = [[0, 0, 0, 0] for _ in palette]
        for c, k in lookup.items():
            n = hist[c]
            s = sums[k]
            s[0] += c[0] * n
            s[1] += c[1] * n
            s[2] += c[2] * n
            s[3] += n
        palette = [tuple(int(round(s[i] / s[3])) for i in range(3)) if s[3] else palette[k]
                   for k, s in enumerate(sums)]
        lookup = nearest_map(hist, palette)
        used = sorted(set(lookup.values()))
        renum = {old: new for new, old in enumerate(used)}
        palette = [palette[k] for k in used]
        lookup = {c: renum[k] for c, k in lookup.items()}
    index_rows = [[None if c is None else lookup[c] for c in row] for row in rows]
    return palette, index_rows


# ---------------------------------------------------------------------------
# XPM writing and reading back
# ---------------------------------------------------------------------------

# Pixel keys: printable characters except space (kept for None) and the ones that
# could upset a C string or a comment: " \ ? * /
KEY_CHARS = ".+@#$%&=-;>,')!~{]^(_:<[}|`0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"


def xpm_text(varname, palette, index_rows):
    h = len(index_rows)
    w = len(index_rows[0])
    has_none = any(v is None for row in index_rows for v in row)
    ncol = len(palette) + (1 if has_none else 0)
    cpp = 1 if len(palette) <= len(KEY_CHARS) else 2
    if cpp == 1:
        keys = list(KEY_CHARS[:len(palette)])
    else:
        keys = [a + b for a in KEY_CHARS for b in KEY_CHARS][:len(palette)]
    none_key = " " * cpp
    lines = ['"%d %d %d %d",' % (w, h, ncol, cpp)]
    if has_none:
        lines.append('"%s c None",' % none_key)
    for key, (r, g, b) in zip(keys, palette):
        lines.append('"%s c #%02X%02X%02X",' % (key, r, g, b))
    for row in index_rows:
        lines.append('"%s",' % "".join(none_key if v is None else keys[v] for v in row))
    lines[-1] = lines[-1][:-1]
    return "/* XPM */\nstatic char * %s[] = {\n%s};\n" % (varname, "\n".join(lines))


def read_xpm(text):
    """Decodes XPM3 text into (width, height, ncolors, cpp, rows of (r,g,b) or None).

    Raises ValueError on anything GDK's loader would stumble on.
    """
    if not text.startswith("/* XPM */"):
        raise ValueError("missing /* XPM */ header")
    m = re.search(r"static\s+(?:const\s+)?char\s*\*\s*([A-Za-z_][A-Za-z0-9_]*)\s*\[\]\s*=\s*\{", text)
    if not m:
        raise ValueError("missing C array declaration")
    body = text[m.end():]
    if not body.rstrip().endswith("};"):
        raise ValueError("array not closed")
    strings = re.findall(r'"([^"\\]*)"', body)
    head = strings[0].split()
    if len(head) < 4:
        raise ValueError("bad header %r" % strings[0])
    w, h, ncol, cpp = (int(v) for v in head[:4])
    if len(strings) != 1 + ncol + h:
        raise ValueError("expected %d strings, found %d" % (1 + ncol + h, len(strings)))
    colours = {}
    for line in strings[1:1 + ncol]:
        key, rest = line[:cpp], line[cpp:].split()
        if key in colours:
            raise ValueError("colour key %r defined twice" % key)
        if "c" not in rest or rest.index("c") + 1 >= len(rest):
            raise ValueError("colour line without a c value: %r" % line)
        value = rest[rest.index("c") + 1]
        if value.lower() == "none":
            colours[key] = None
        elif re.fullmatch(r"#[0-9A-Fa-f]{6}", value):
            colours[key] = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
        else:
            raise ValueError("unexpected colour %r" % value)
    rows = []
    for line in strings[1 + ncol:]:
        if len(line) != w * cpp:
            raise ValueError("row of %d characters, expected %d" % (len(line), w * cpp))
        row = []
        for i in range(w):
            key = line[i * cpp:(i + 1) * cpp]
            if key not in colours:
                raise ValueError("pixel key %r not defined" % key)
            row.append(colours[key])
        rows.append(row)
    return w, h, ncol, cpp, rows


def write_image(out_dir, filename, rows, max_colours):
    """Quantises, writes and reads back one picture; returns a one-line summary."""
    h, w = len(rows), len(rows[0])
    has_none = any(c is None for row in rows for c in row)
    palette, index_rows = quantise(rows, max_colours - (1 if has_none else 0))
    varname = re.sub(r"[^A-Za-z0-9_]", "_", filename.rsplit(".", 1)[0]) + "_xpm"
    text = xpm_text(varname, palette, index_rows)
    path = os.path.join(out_dir, filename)
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(text)

    # Read the file back and hold it against what was meant to be written.
    with open(path, encoding="ascii") as f:
        rw, rh, ncol, cpp, decoded = read_xpm(f.read())
    problems = []
    if (rw, rh) != (w, h):
        problems.append("size %dx%d, expected %dx%d" % (rw, rh, w, h))
    if ncol > max_colours:
        problems.append("%d colours, at most %d allowed" % (ncol, max_colours))
    expected = [[None if v is None else palette[v] for v in row] for row in index_rows]
    if decoded != expected:
        problems.append("pixels read back differ from those written")
    opaque = sum(c is not None for row in decoded for c in row)
    if opaque < w * h * 0.15:
        problems.append("only %d opaque pixels: looks blank" % opaque)
    if len({c for row in decoded for c in row if c is not None}) < 3:
        problems.append("fewer than 3 colours: looks like a placeholder")
    # The quantised picture must stay close to the drawn one.
    err = 0.0
    for row_a, row_b in zip(rows, decoded):
        for a, b in zip(row_a, row_b):
            if (a is None) != (b is None):
                problems.append("transparency changed")
            elif a is not None:
                err += sum((x - y) ** 2 for x, y in zip(a, b))
    rms = math.sqrt(err / max(1, opaque * 3))
    if rms > 12.0:
        problems.append("palette too coarse (rms error %.1f)" % rms)
    if problems:
        raise SystemExit("make_icons: %s: %s" % (filename, "; ".join(problems)))
    return "%-22s %3dx%-3d %3d colours, %d char/pixel, rms %.1f" % (filename, w, h, ncol, cpp, rms)


# ---------------------------------------------------------------------------


def main():
    ap = argparse.ArgumentParser(description="Draws Zemo's icons and splash screen as XPM files.")
    ap.add_argument("--out", default=DEFAULT_OUT, help="output folder (default: runtime/images)")
    ap.add_argument("--only", nargs="*", help="file names to draw (default: all)")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)

    wanted = set(args.only) if args.only else None
    known = {name for name, _, _ in ICONS} | {"splash.XPM"}
    if wanted and wanted - known:
        ap.error("no such image: %s" % ", ".join(sorted(wanted - known)))
    for name, size, fn in ICONS:
        if wanted is not None and name not in wanted:
            continue
        cv = Canvas(size, size)
        fn(cv)
        print(write_image(args.out, name, cv.pixels(), 64))
    if wanted is None or "splash.XPM" in wanted:
        cv = draw_splash()
        print(write_image(args.out, "splash.XPM", cv.pixels(threshold=0.0), 256))


if __name__ == "__main__":
    main()
