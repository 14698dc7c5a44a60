"""Primitives in millimetres and what the other modules do with them.

A primitive is a plain dict, as it is stored in a page's truth file:

    {"type": "segment",  "a": [x, y], "b": [x, y]}
    {"type": "arc",      "c": [x, y], "r": r, "a0": deg, "a1": deg}   counter-clockwise, a0 < a1
    {"type": "circle",   "c": [x, y], "r": r}
    {"type": "polyline", "pts": [[x, y], ...], "closed": bool}

Truth primitives also carry "id" (the source entity) and "kind" (line, dash,
junction, arc, circle, text, area, or the DXF type of a drawing's entity).
"""

import json
import math

import numpy as np
from scipy.spatial import cKDTree

# Kinds whose segments the straight-line score counts (dashes have their own).
LINE_KINDS = {"line", "junction", "LINE", "LWPOLYLINE", "POLYLINE"}


def segment(a, b, **tags):
    return {"type": "segment", "a": list(a), "b": list(b), **tags}


def arc(c, r, a0, a1, **tags):
    """The counter-clockwise arc from a0 to a1 degrees; a1 is moved above a0."""
    a0 = a0 % 360.0
    a1 = a1 % 360.0
    if a1 <= a0 + 1e-9:
        a1 += 360.0
    return {"type": "arc", "c": list(c), "r": r, "a0": a0, "a1": a1, **tags}


def circle(c, r, **tags):
    return {"type": "circle", "c": list(c), "r": r, **tags}


def polyline(pts, closed=False, **tags):
    return {"type": "polyline", "pts": [list(p) for p in pts], "closed": closed, **tags}


def polyline_points(p):
    pts = np.asarray(p["pts"], dtype=float)
    if p["closed"] and len(pts) > 1:
        pts = np.vstack([pts, pts[:1]])
    return pts


def length(p):
    kind = p["type"]
    if kind == "segment":
        return float(math.dist(p["a"], p["b"]))
    if kind == "arc":
        return p["r"] * math.radians(p["a1"] - p["a0"])
    if kind == "circle":
        return 2 * math.pi * p["r"]
    pts = polyline_points(p)
    return float(np.linalg.norm(np.diff(pts, axis=0), axis=1).sum())


def total_length(prims):
    return sum(length(p) for p in prims)


def _along(pts, step):
    """Points every `step` or closer along a chain of points, both ends kept."""
    out = [pts[:1]]
    for a, b in zip(pts[:-1], pts[1:]):
        n = max(1, math.ceil(math.dist(a, b) / step))
        t = np.arange(1, n + 1)[:, None] / n
        out.append(a + (b - a) * t)
    return np.vstack(out)


def _arc_points(c, r, a0, a1, step):
    n = max(1, math.ceil(r * math.radians(a1 - a0) / step))
    t = np.radians(np.linspace(a0, a1, n + 1))
    return np.column_stack([c[0] + r * np.cos(t), c[1] + r * np.sin(t)])


def sample(p, step):
    """Points along a primitive, at most `step` apart, ends included."""
    kind = p["type"]
    if kind == "segment":
        return _along(np.array([p["a"], p["b"]], dtype=float), step)
    if kind == "arc":
        return _arc_points(p["c"], p["r"], p["a0"], p["a1"], step)
    if kind == "circle":
        return _arc_points(p["c"], p["r"], 0.0, 360.0, step)
    return _along(polyline_points(p), step)


def sample_all(prims, step):
    """Points along every primitive and, for each, the length it stands for
    (so sums of weights are lengths)."""
    points, weights = [], []
    for p in prims:
        pts = sample(p, step)
        points.append(pts)
        weights.append(np.full(len(pts), length(p) / len(pts)))
    if not points:
        return np.zeros((0, 2)), np.zeros(0)
    return np.vstack(points), np.concatenate(weights)


class NearestDistance:
    """Distance from points to a set of primitives, through a KD-tree over
    points along them `step` apart (so no distance is more than step / 2 too
    long)."""

    def __init__(self, prims, step=0.02):
        pts, _ = sample_all(prims, step)
        self._tree = cKDTree(pts) if len(pts) else None

    def __call__(self, points):
        if self._tree is None:
            return np.full(len(points), np.inf)
        if len(points) == 0:
            return np.zeros(0)
        return self._tree.query(points)[0]


def map_points(p, fn, scale=1.0, turn=0.0):
    """The primitive moved by fn (a function of an (n, 2) array), which
    scales lengths by `scale` and turns directions by `turn` degrees."""
    q = dict(p)
    kind = p["type"]
    if kind == "segment":
        a, b = fn(np.array([p["a"], p["b"]], dtype=float))
        q["a"], q["b"] = a.tolist(), b.tolist()
    elif kind == "polyline":
        q["pts"] = fn(np.asarray(p["pts"], dtype=float)).tolist()
    else:
        q["c"] = fn(np.array([p["c"]], dtype=float))[0].tolist()
        q["r"] = p["r"] * scale
        if kind == "arc":
            q["a0"], q["a1"] = p["a0"] + turn, p["a1"] + turn
            q.update(arc(q["c"], q["r"], q["a0"], q["a1"]))
    return q


def scaled(prims, factor, offset):
    def fn(pts):
        return pts * factor + np.asarray(offset)

    return [map_points(p, fn, scale=factor) for p in prims]


def rotated(prims, degrees, centre):
    t = math.radians(degrees)
    rot = np.array([[math.cos(t), math.sin(t)], [-math.sin(t), math.cos(t)]])
    centre = np.asarray(centre, dtype=float)

    def fn(pts):
        return (pts - centre) @ rot + centre

    return [map_points(p, fn, turn=degrees) for p in prims]


def extents(prims, step=0.05):
    """(xmin, ymin, xmax, ymax) of the primitives, or None when there are none."""
    pts, _ = sample_all(prims, step)
    if not len(pts):
        return None
    return (*pts.min(axis=0), *pts.max(axis=0))


def save_truth(path, truth):
    with open(path, "w") as f:
        json.dump(truth, f, separators=(",", ":"))


def load_truth(path):
    with open(path) as f:
        return json.load(f)
