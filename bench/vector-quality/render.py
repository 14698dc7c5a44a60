"""Pictures of a page's truth, drawn as a pen would draw them.

A pixel's darkness is the share of its sub-samples (supersample × supersample
of them) that lie within pen / 2 of a stroke, or inside a filled area (areas
are filled exactly, with no pen around them). Work is done in pixel units
with y up; sub-sample rows are taken in bands so that a large sheet never
needs its whole sub-sample grid at once, and strokes are cut into short
pieces so that each touches only a small box of sub-samples.

The "scan" condition adds what a scanner adds: a Gaussian blur, noise and
a few specks (small dark dots that the truth leaves out). Its rotation is in
the truth already (pages.scanned).
"""

import math

import numpy as np
from PIL import Image

import geometry as g

PIECE = 32.0  # longest piece of a stroke, in pixels
BAND = 64  # pixel rows done at once


class Piece:
    """A short part of a stroke or a whole filled shape, with its box in
    pixel units (xmin, ymin, xmax, ymax)."""

    def __init__(self, kind, data, box):
        self.kind = kind
        self.data = data
        self.box = box


def _segment_pieces(a, b, pad):
    n = max(1, math.ceil(math.dist(a, b) / PIECE))
    pts = [a + (b - a) * k / n for k in range(n + 1)]
    for p, q in zip(pts[:-1], pts[1:]):
        box = (min(p[0], q[0]) - pad, min(p[1], q[1]) - pad, max(p[0], q[0]) + pad, max(p[1], q[1]) + pad)
        yield Piece("segment", (p, q), box)


def _arc_pieces(c, r, t0, t1, pad):
    n = max(1, math.ceil(r * (t1 - t0) / PIECE))
    for k in range(n):
        s0 = t0 + (t1 - t0) * k / n
        s1 = t0 + (t1 - t0) * (k + 1) / n
        t = np.linspace(s0, s1, 17)
        xs, ys = c[0] + r * np.cos(t), c[1] + r * np.sin(t)
        box = (xs.min() - pad, ys.min() - pad, xs.max() + pad, ys.max() + pad)
        yield Piece("arc", (c, r, s0, s1), box)


def _stroke_pieces(p, scale, pad):
    """Pieces of a primitive whose lengths are multiplied by `scale`."""
    kind = p["type"]
    if kind == "segment":
        yield from _segment_pieces(np.array(p["a"]) * scale, np.array(p["b"]) * scale, pad)
    elif kind == "polyline":
        pts = g.polyline_points(p) * scale
        for a, b in zip(pts[:-1], pts[1:]):
            yield from _segment_pieces(a, b, pad)
    else:
        t0, t1 = (math.radians(p["a0"]), math.radians(p["a1"])) if kind == "arc" else (0, 2 * math.pi)
        yield from _arc_pieces(np.array(p["c"]) * scale, p["r"] * scale, t0, t1, pad)


def _area_piece(p, scale):
    if p["type"] == "circle":
        c, r = np.array(p["c"]) * scale, p["r"] * scale
        return Piece("disc", (c, r), (c[0] - r, c[1] - r, c[0] + r, c[1] + r))
    pts = np.asarray(p["pts"], dtype=float) * scale
    return Piece("polygon", pts, (*pts.min(axis=0), *pts.max(axis=0)))


def _inside(piece, x, y, half):
    """Which of the sub-samples at x (1, n) and y (m, 1) the piece darkens."""
    kind, data = piece.kind, piece.data
    if kind == "segment":
        a, b = data
        d = b - a
        t = np.clip(((x - a[0]) * d[0] + (y - a[1]) * d[1]) / max(d @ d, 1e-12), 0, 1)
        return (x - a[0] - t * d[0]) ** 2 + (y - a[1] - t * d[1]) ** 2 <= half * half
    if kind == "arc":
        c, r, s0, s1 = data
        dx, dy = x - c[0], y - c[1]
        on = np.mod(np.arctan2(dy, dx) - s0, 2 * math.pi) <= s1 - s0
        near = np.abs(np.hypot(dx, dy) - r) <= half
        ends = [(c[0] + r * math.cos(s), c[1] + r * math.sin(s)) for s in (s0, s1)]
        cap = sum(((x - e[0]) ** 2 + (y - e[1]) ** 2 <= half * half) for e in ends)
        return (on & near) | (cap > 0)
    if kind == "disc":
        c, r = data
        return (x - c[0]) ** 2 + (y - c[1]) ** 2 <= r * r
    inside = np.zeros(np.broadcast(x, y).shape, dtype=bool)
    for a, b in zip(data, np.roll(data, -1, axis=0)):
        if a[1] != b[1]:
            crosses = (a[1] > y) != (b[1] > y)
            xc = a[0] + (y - a[1]) * (b[0] - a[0]) / (b[1] - a[1])
            inside ^= crosses & (x < xc)
    return inside


def coverage(pieces, width, height, half, supersample):
    """Share of each pixel's sub-samples that some piece darkens; row 0 is
    the top of the picture."""
    s = supersample
    cover = np.zeros((height, width), dtype=np.float32)
    bands = [[] for _ in range(math.ceil(height / BAND))]
    for piece in pieces:
        top = height - piece.box[3]  # pixel rows below the picture's top
        bottom = height - piece.box[1]
        for k in range(max(0, int(top // BAND)), min(len(bands), int(bottom // BAND) + 1)):
            bands[k].append(piece)
    for k, band in enumerate(bands):
        rows = min(BAND, height - k * BAND)
        mask = np.zeros((rows * s, width * s), dtype=bool)
        # Sub-sample row i of the band has its centre at this height.
        y_top = height - k * BAND
        for piece in band:
            x0, y0, x1, y1 = piece.box
            c0, c1 = max(0, math.floor(x0 * s)), min(width * s, math.ceil(x1 * s))
            r0 = max(0, math.floor((y_top - y1) * s))
            r1 = min(rows * s, math.ceil((y_top - y0) * s))
            if c0 >= c1 or r0 >= r1:
                continue
            x = ((np.arange(c0, c1) + 0.5) / s)[None, :]
            y = (y_top - (np.arange(r0, r1) + 0.5) / s)[:, None]
            mask[r0:r1, c0:c1] |= _inside(piece, x, y, half)
        cover[k * BAND : k * BAND + rows] = mask.reshape(rows, s, width, s).mean(axis=(1, 3))
    return cover


def picture_size(truth, dpi):
    return round(truth["width_mm"] / 25.4 * dpi), round(truth["height_mm"] / 25.4 * dpi)


def specks(truth, count, rng):
    """Small dark dots at least 1 mm from every stroke, within the drawing."""
    near = g.NearestDistance(truth["primitives"], 0.05)
    xmin, ymin, xmax, ymax = g.extents(truth["primitives"])
    dots = []
    while len(dots) < count:
        c = rng.uniform((xmin, ymin), (xmax, ymax))
        if near(c[None, :])[0] >= 1.0:
            dots.append(g.circle(c.tolist(), float(rng.uniform(0.05, 0.12))))
    return dots


def _blur(grey, sigma):
    """Separable Gaussian blur; the paper beyond the edge is white."""
    radius = max(1, math.ceil(3 * sigma))
    k = np.exp(-0.5 * (np.arange(-radius, radius + 1) / sigma) ** 2)
    k = (k / k.sum()).astype(np.float32)
    out = grey
    for axis in (0, 1):
        pad = [(0, 0), (0, 0)]
        pad[axis] = (radius, radius)
        padded = np.pad(out, pad, constant_values=255.0)
        acc = np.zeros_like(out)
        for i, w in enumerate(k):
            acc += w * (padded[i : i + out.shape[0]] if axis == 0 else padded[:, i : i + out.shape[1]])
        out = acc
    return out


def render(truth, dpi, pen, scan=False, seed=0, supersample=4, blur=0.5, noise=8.0, speck_count=12):
    """The page as 8-bit grey pixels (0 black), row 0 at the top."""
    width, height = picture_size(truth, dpi)
    scale = dpi / 25.4
    half = 0.5 * pen * scale
    strokes = [p for p in truth["primitives"] if p["kind"] != "area"]
    areas = [p for p in truth["primitives"] if p["kind"] == "area"]
    rng = np.random.default_rng(seed)
    if scan:
        areas = areas + specks(truth, speck_count, rng)
    pieces = [q for p in strokes for q in _stroke_pieces(p, scale, half + 1)]
    pieces += [_area_piece(p, scale) for p in areas]
    grey = 255.0 * (1.0 - coverage(pieces, width, height, half, supersample))
    if scan:
        grey = _blur(grey, blur)
        grey += rng.standard_normal(grey.shape, dtype=np.float32) * noise
    return np.clip(np.rint(grey), 0, 255).astype(np.uint8)


def write_png(path, pixels, dpi):
    """An 8-bit grey PNG whose pHYs chunk gives the resolution."""
    Image.fromarray(pixels, "L").save(path, dpi=(dpi, dpi), compress_level=1)


def write_pbm(path, pixels, level=128):
    """A raw PBM of the pixels darker than `level` (50 % grey)."""
    bits = np.packbits(pixels < level, axis=1)
    with open(path, "wb") as f:
        f.write(b"P4\n%d %d\n" % (pixels.shape[1], pixels.shape[0]))
        f.write(bits.tobytes())
