#!/usr/bin/python3
"""Scores a vectorizer's DXF drawing against a page's truth.

    score.py TRUTH.json OUT.dxf --dpi N --pen MM [--unit-mm F]

prints the page's figures as JSON. The DXF is read in millimetres (times
--unit-mm: potrace writes pixels) with INSERTs exploded. A source or output
point counts as matched within pen / 2 + one pixel of the other side: a
stroke's outline lies pen / 2 from its centreline, so outlines and
centrelines are both within it. Area outlines are scored like strokes.
"""

import argparse
import json
import os

import numpy as np

import dxfgeom
import geometry as g

STEP = 0.1  # mm between the points that are scored
END = 0.1  # mm: how close a LINE's ends, or a CIRCLE's or ARC's centre and radius, must be
SHORTEST = 2.0  # mm: shorter source lines are not scored as lines


def _ends(p):
    if p["type"] == "segment":
        return np.array([p["a"], p["b"]])
    t = np.radians([p["a0"], p["a1"]])
    return np.array(p["c"]) + p["r"] * np.column_stack([np.cos(t), np.sin(t)])


def _lines_matched(sources, outputs):
    """How many source segments have an output LINE with both ends within END."""
    if not sources or not outputs:
        return 0
    out = np.array([_ends(p) for p in outputs])  # (n, 2, 2)
    found = 0
    for p in sources:
        a, b = _ends(p)
        da, db = np.linalg.norm(out - a, axis=2), np.linalg.norm(out - b, axis=2)
        same = (da[:, 0] <= END) & (db[:, 1] <= END)
        swapped = (da[:, 1] <= END) & (db[:, 0] <= END)
        found += bool(np.any(same | swapped))
    return found


def _round_matched(sources, outputs, tol):
    """How many source circles (arcs) have an output CIRCLE (ARC) whose centre
    and radius are within END; an arc's ends must also lie within `tol` of
    the source's, so that one ARC stands for the whole arc."""
    if not sources or not outputs:
        return 0
    centres = np.array([p["c"] for p in outputs])
    radii = np.array([p["r"] for p in outputs])
    out_ends = np.array([_ends(q) for q in outputs]) if outputs[0]["type"] == "arc" else None
    found = 0
    for p in sources:
        ok = (np.linalg.norm(centres - p["c"], axis=1) <= END) & (np.abs(radii - p["r"]) <= END)
        if out_ends is not None:
            ok &= np.all(np.linalg.norm(out_ends - _ends(p), axis=2) <= tol, axis=1)
        found += bool(np.any(ok))
    return found


def _extent_error(truth_box, out_box):
    """The larger relative error of the width and height, in %."""
    if out_box is None:
        return None
    errors = []
    for k in (0, 1):
        size = truth_box[k + 2] - truth_box[k]
        if size > 0:
            errors.append(abs((out_box[k + 2] - out_box[k]) - size) / size * 100)
    return max(errors)


def _distances(src, out, tol):
    src_pts, src_w = g.sample_all(src, STEP)
    out_pts, out_w = g.sample_all(out, STEP)
    to_out = g.NearestDistance(out)(src_pts)
    to_src = g.NearestDistance(src)(out_pts)
    return {
        "source_mm": float(src_w.sum()),
        "covered_mm": float(src_w[to_out <= tol].sum()),
        "output_mm": float(out_w.sum()),
        "precise_mm": float(out_w[to_src <= tol].sum()),
        "p95_mm": float(np.percentile(to_src, 95)) if len(to_src) else None,
    }


def _shapes(src, entities, tol):
    def of(kind):
        return [p for e in entities if e.dxftype == kind for p in e.prims]

    def lines(kinds):
        long_enough = SHORTEST - 1e-6
        return [
            p for p in src if p["type"] == "segment" and p["kind"] in kinds and g.length(p) >= long_enough
        ]

    out_lines = of("LINE")
    found = {}
    for name, sources in (("lines", lines(g.LINE_KINDS)), ("dashes", lines({"dash"}))):
        found[name] = (_lines_matched(sources, out_lines), len(sources))
    for name, kind, dxftype in (("circles", "circle", "CIRCLE"), ("arcs", "arc", "ARC")):
        sources = [p for p in src if p["type"] == kind]
        found[name] = (_round_matched(sources, of(dxftype), tol), len(sources))
    return {f"{k}_{part}": v[i] for k, v in found.items() for i, part in enumerate(("ok", "n"))}


def score(truth, dxf_path, dpi, pen, unit_mm=1.0):
    """The page's figures as a dict of sums, so that pages add up."""
    src = truth["primitives"]
    entities, _ = dxfgeom.read_entities(dxf_path)
    for e in entities:
        e.prims = g.scaled(e.prims, unit_mm, (0.0, 0.0))
    out = [p for e in entities for p in e.prims]
    tol = 0.5 * pen + 25.4 / dpi
    figures = _distances(src, out, tol)
    figures.update(_shapes(src, entities, tol))
    figures["entities_out"] = len(entities)
    figures["entities_source"] = len({p["id"] for p in src})
    figures["bytes"] = os.path.getsize(dxf_path)
    figures["extent_error_pct"] = _extent_error(g.extents(src), g.extents(out))
    return figures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("truth")
    parser.add_argument("dxf")
    parser.add_argument("--dpi", type=float, required=True)
    parser.add_argument("--pen", type=float, required=True, help="pen width in mm")
    parser.add_argument("--unit-mm", type=float, default=1.0, help="millimetres per DXF unit")
    args = parser.parse_args()
    figures = score(g.load_truth(args.truth), args.dxf, args.dpi, args.pen, args.unit_mm)
    print(json.dumps(figures, indent=1))


if __name__ == "__main__":
    main()
