"""The pages of the benchmark and their truth.

Five synthetic A4 pages (lines at every angle, circles, arcs, dashed lines and
junctions, text-like strokes and filled areas) and drawings of LibreCAD's
part library, each fitted to an A4 or A3 sheet. A truth is a dict:

    {"name", "source", "sheet", "width_mm", "height_mm", "scale",
     "rotation", "skipped", "primitives"}

with primitives in paper millimetres, origin at the sheet's bottom-left, y up.
"""

import math
from pathlib import Path

import dxfgeom
import geometry as g

A4 = (210.0, 297.0)
A3 = (297.0, 420.0)
MARGIN = 10.0
LIBRARY = Path("/usr/share/librecad/library")

# Chosen for their variety: a title block with circles, a part with arcs, a
# drawing of arcs only, a screw, and symbols with ellipses, polylines with
# bulges and many short lines.
DRAWINGS = [
    "misc/a3.dxf",
    "misc/t-part.dxf",
    "misc/tux.dxf",
    "misc/screw.dxf",
    "elektro/power/pe25.dxf",
    "elektro/meter-iso/Tube-CRT-RGB.dxf",
    "elektro/relay/tn_3ph.dxf",
    "elektro/electronics/lm_29.dxf",
    "elektro/motor/gen2.dxf",
    "elektro/electro-vacuum/evd35.dxf",
    "elektro/power/pe19.dxf",
    "elektro/electric_appliances/elk59.dxf",
    "elektro/electro-vacuum-iso/Valve-ECF80.dxf",
    "elektro/diode-iso/Diode-Bridge.dxf",
]


def _truth(name, source, sheet, prims, scale=1.0, skipped=None):
    width, height = sheet
    return {
        "name": name,
        "source": source,
        "sheet": "A4" if sorted(sheet) == sorted(A4) else "A3",
        "width_mm": width,
        "height_mm": height,
        "scale": scale,
        "rotation": 0.0,
        "skipped": dict(skipped or {}),
        "primitives": prims,
    }


def _cells(cols, rows, x0, y0, width, height):
    """Cell centres, left to right and top to bottom, over a rectangle."""
    w, h = width / cols, height / rows
    for r in range(rows):
        for c in range(cols):
            yield x0 + (c + 0.5) * w, y0 + height - (r + 0.5) * h


def _centred_line(cx, cy, angle, size, **tags):
    dx = 0.5 * size * math.cos(math.radians(angle))
    dy = 0.5 * size * math.sin(math.radians(angle))
    return g.segment((cx - dx, cy - dy), (cx + dx, cy + dy), **tags)


def lines_page():
    """180 lines, one a degree from 0 to 179, of 2 to 13 mm."""
    prims = []
    sizes = [2, 4, 7, 10, 13]
    for n, (cx, cy) in enumerate(_cells(10, 18, 10, 10, 190, 277)):
        prims.append(_centred_line(cx, cy, n, sizes[n % 5], id=f"line{n}", kind="line"))
    return _truth("lines", "synthetic", A4, prims)


def circles_page():
    """Four concentric circles of 30 to 100 mm around the upper half, and
    circles of 1 to 20 mm below."""
    prims = [g.circle((105, 192), r, id=f"big{r}", kind="circle") for r in (100, 70, 45, 30)]
    x, y = 12.0, 75.0
    for n, r in enumerate([1, 1.5, 2, 2.5, 3, 4, 5, 6, 8, 10, 12, 15, 20]):
        if x + 2 * r > 200:
            x, y = 12.0, y - 45.0
        prims.append(g.circle((x + r, y), r, id=f"small{n}", kind="circle"))
        x += 2 * r + 6
    return _truth("circles", "synthetic", A4, prims)


def arcs_page():
    """Arcs of 20 to 100 mm on four concentric circles, and arcs of 1 to
    12 mm spanning 45 to 330 degrees below."""
    prims = []
    big = ((100, [(10, 170), (200, 330)]), (60, [(100, 350)]), (35, [(300, 60)]), (20, [(120, 40)]))
    for r, spans in big:
        for k, (a0, a1) in enumerate(spans):
            prims.append(g.arc((105, 192), r, a0, a1, id=f"big{r}-{k}", kind="arc"))
    n = 0
    for y, radii in ((78, [1, 1.5, 2, 3]), (60, [5, 8]), (30, [12])):
        x = 12.0
        for r in radii:
            for span in (45, 90, 180, 270, 330):
                prims.append(g.arc((x + r, y), r, 37 * n, 37 * n + span, id=f"arc{n}", kind="arc"))
                x += 2 * r + 5
                n += 1
            x += 2
    return _truth("arcs", "synthetic", A4, prims)


def _dashed(cx, cy, angle, size, dash, gap, name):
    """A dashed line of about `size` mm; every dash is an entity of its own."""
    ux, uy = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    count = int((size + gap) // (dash + gap))
    start = -0.5 * (count * (dash + gap) - gap)
    out = []
    for k in range(count):
        t0 = start + k * (dash + gap)
        t1 = t0 + dash
        a, b = (cx + t0 * ux, cy + t0 * uy), (cx + t1 * ux, cy + t1 * uy)
        out.append(g.segment(a, b, id=f"{name}.{k}", kind="dash"))
    return out


def _junctions(cx, cy, angle, n):
    """X, T and L junctions whose arms meet at `angle` degrees."""
    tag = {"kind": "junction"}
    ux, uy = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    x = [_centred_line(cx - 60, cy, 0, 24), _centred_line(cx - 60, cy, angle, 24)]
    foot = (cx, cy - 6)
    t = [
        g.segment((cx - 12, cy - 6), (cx + 12, cy - 6)),
        g.segment(foot, (foot[0] + 14 * ux, foot[1] + 14 * uy)),
    ]
    corner = (cx + 48, cy - 6)
    ell = [
        g.segment(corner, (corner[0] + 16, corner[1])),
        g.segment(corner, (corner[0] + 16 * ux, corner[1] + 16 * uy)),
    ]
    prims = []
    for name, pair in (("X", x), ("T", t), ("L", ell)):
        for k, p in enumerate(pair):
            prims.append({**p, "id": f"{name}{n}.{k}", **tag})
    return prims


def dashes_page():
    """Twelve dashed lines at 0 to 165 degrees above, junctions below."""
    prims = []
    patterns = [(3, 1.5), (4, 2), (6, 3), (2.5, 1.5)]
    for n, (cx, cy) in enumerate(_cells(3, 4, 10, 150, 190, 137)):
        dash, gap = patterns[n % len(patterns)]
        prims += _dashed(cx, cy, 15 * n, 30, dash, gap, f"dashed{n}")
    for n, angle in enumerate([90, 60, 45, 30]):
        prims += _junctions(105, 125 - 32 * n, angle, n)
    return _truth("dashes", "synthetic", A4, prims)


# Stroke letters on a 4 × 6 grid (x right, y up); each stroke is a polyline.
GLYPHS = {
    "A": [[(0, 0), (2, 6), (4, 0)], [(1, 3), (3, 3)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "F": [[(0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "H": [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]],
    "K": [[(0, 0), (0, 6)], [(4, 6), (0, 2)], [(1.3, 3.3), (4, 0)]],
    "L": [[(0, 6), (0, 0), (4, 0)]],
    "M": [[(0, 0), (0, 6), (2, 3), (4, 6), (4, 0)]],
    "N": [[(0, 0), (0, 6), (4, 0), (4, 6)]],
    "T": [[(0, 6), (4, 6)], [(2, 6), (2, 0)]],
    "V": [[(0, 6), (2, 0), (4, 6)]],
    "W": [[(0, 6), (1, 0), (2, 4), (3, 0), (4, 6)]],
    "Y": [[(0, 6), (2, 3), (4, 6)], [(2, 3), (2, 0)]],
    "Z": [[(0, 6), (4, 6), (0, 0), (4, 0)]],
    "I": [[(2, 0), (2, 6)]],
    "1": [[(1, 5), (2, 6), (2, 0)]],
    "4": [[(3, 0), (3, 6), (0, 2), (4, 2)]],
    "7": [[(0, 6), (4, 6), (1, 0)]],
}


def _text(x, y, height, text, line):
    unit = height / 6
    prims = []
    for i, ch in enumerate(text):
        for k, stroke in enumerate(GLYPHS.get(ch, [])):
            pts = [(x + (i * 6 + px) * unit, y + py * unit) for px, py in stroke]
            prims.append(g.polyline(pts, id=f"text{line}.{i}.{k}", kind="text"))
    return prims


def _rectangle(x, y, w, h, angle, ident):
    t = math.radians(angle)
    c, s = math.cos(t), math.sin(t)
    corners = [(0, 0), (w, 0), (w, h), (0, h)]
    pts = [(x + px * c - py * s, y + px * s + py * c) for px, py in corners]
    return g.polyline(pts, closed=True, id=ident, kind="area")


def text_page():
    """Stroke text of 2.5 to 10 mm above, filled rectangles and discs below."""
    prims = []
    y = 270.0
    for line, height in enumerate([2.5, 3.5, 5, 7, 10]):
        text = "FLAT WAVY ZINK 147" if height < 7 else "HAVE 4 MEN"
        prims += _text(15, y - height, height, text, line)
        y -= height + 12
    rects = [(2, 2, 0), (5, 3, 0), (10, 10, 0), (20, 8, 0), (40, 15, 0), (15, 6, 30), (25, 10, -20)]
    x = 12.0
    for n, (w, h, a) in enumerate(rects):
        prims.append(_rectangle(x, 120, w, h, a, f"rect{n}"))
        x += w + 8
    x = 12.0
    for n, r in enumerate([1, 2, 3, 5, 8, 12, 20]):
        prims.append(g.circle((x + r, 60), r, id=f"disc{n}", kind="area"))
        x += 2 * r + 6
    return _truth("text", "synthetic", A4, prims)


SYNTHETIC = {
    "lines": lines_page,
    "circles": circles_page,
    "arcs": arcs_page,
    "dashes": dashes_page,
    "text": text_page,
}


def _nice_below(value):
    """The largest of 1, 1.5, 2, 2.5, 3, 4, 5, 6 or 8 times a power of ten
    not above value."""
    power = 10.0 ** math.floor(math.log10(value))
    steps = (1, 1.5, 2, 2.5, 3, 4, 5, 6, 8, 10)
    return max(m * power for m in steps if m * power <= value * (1 + 1e-9))


def fit_sheet(width, height):
    """Sheet (width, height) and scale for a drawing of that size: 1:1 on A4
    or A3 when it fills at least a quarter of the sheet's width or height;
    a smaller drawing is enlarged onto A4 and a larger one reduced onto A3,
    by a round factor."""
    landscape = width > height
    for sheet in (A4, A3):
        w, h = (sheet[1], sheet[0]) if landscape else sheet
        fits = width <= w - 2 * MARGIN and height <= h - 2 * MARGIN
        if fits and max(width / w, height / h) >= 0.25:
            return (w, h), 1.0
    sheet = A4 if max(width, height) < 100 else A3
    w, h = (sheet[1], sheet[0]) if landscape else sheet
    return (w, h), _nice_below(min((w - 2 * MARGIN) / width, (h - 2 * MARGIN) / height))


def drawing_page(relative):
    """A drawing of the library, centred on its sheet."""
    path = LIBRARY / relative
    entities, _ = dxfgeom.read_entities(path)
    xmin, ymin, xmax, ymax = g.extents([p for e in entities for p in e.prims], 0.5)
    sheet, scale = fit_sheet(xmax - xmin, ymax - ymin)
    # Read again so that ellipses and splines are flattened to 0.01 mm on paper.
    entities, skipped = dxfgeom.read_entities(path, 0.01 / scale)
    prims = [{**p, "id": e.ident, "kind": e.dxftype} for e in entities for p in e.prims]
    offset = (
        0.5 * sheet[0] - scale * 0.5 * (xmin + xmax),
        0.5 * sheet[1] - scale * 0.5 * (ymin + ymax),
    )
    name = relative.removesuffix(".dxf").replace("/", "-")
    return _truth(name, str(path), sheet, g.scaled(prims, scale, offset), scale, skipped)


def scanned(truth, degrees):
    """The same page turned by `degrees` about the sheet's centre, as a sheet
    laid slightly askew on the scanner."""
    centre = (0.5 * truth["width_mm"], 0.5 * truth["height_mm"])
    return {**truth, "rotation": degrees, "primitives": g.rotated(truth["primitives"], degrees, centre)}
