"""DXF drawings as primitives, and primitives as DXF.

Reading explodes INSERTs (with their transformation), breaks polylines into
lines and arcs (bulges kept as arcs), and flattens ellipses and splines to
polylines; text, hatches, dimensions, solids and every other kind are left
out and counted. Entities on layers that are off or frozen are left out.
"""

from collections import Counter

import ezdxf
from ezdxf import recover

import geometry as g


class DxfEntity:
    """One drawn entity: its id, DXF type and primitives."""

    def __init__(self, ident, dxftype, prims):
        self.ident = ident
        self.dxftype = dxftype
        self.prims = prims


def _xy(v):
    return [float(v[0]), float(v[1])]


def _arc(e):
    """An ARC in the world's coordinates; an arc seen from below (extrusion
    towards -z) runs clockwise there, so its ends swap."""
    ocs = e.ocs()
    c = ocs.to_wcs(e.dxf.center)
    start, end = e.start_point, e.end_point
    if e.dxf.extrusion.z < 0:
        start, end = end, start
    a0 = (start - c).angle_deg
    a1 = (end - c).angle_deg
    return g.arc(_xy(c), float(e.dxf.radius), a0, a1)


def _simple(e, flatten):
    """The primitives of a LINE, ARC, CIRCLE, ELLIPSE or SPLINE."""
    t = e.dxftype()
    if t == "LINE":
        a, b = _xy(e.dxf.start), _xy(e.dxf.end)
        return [g.segment(a, b)] if a != b else []
    if t == "ARC":
        return [_arc(e)] if e.dxf.radius > 0 else []
    if t == "CIRCLE":
        c = e.ocs().to_wcs(e.dxf.center)
        return [g.circle(_xy(c), float(e.dxf.radius))] if e.dxf.radius > 0 else []
    pts = [_xy(p) for p in e.flattening(flatten)]
    return [g.polyline(pts)] if len(pts) > 1 else []


def _polyline(e, flatten):
    prims = []
    for part in e.virtual_entities():
        prims += _simple(part, flatten)
    return prims


class _Reader:
    def __init__(self, doc, flatten):
        self.flatten = flatten
        self.hidden = {
            layer.dxf.name for layer in doc.layers if layer.is_off() or layer.is_frozen()
        }
        self.entities = []
        self.skipped = Counter()

    def walk(self, entities, prefix):
        for n, e in enumerate(entities):
            t = e.dxftype()
            ident = prefix + (e.dxf.get("handle") or str(n))
            if e.dxf.get("layer") in self.hidden:
                self.skipped["hidden layer"] += 1
            elif t == "INSERT":
                self.walk(list(e.virtual_entities()), ident + "/")
            elif t == "POLYLINE" and (e.is_poly_face_mesh or e.is_polygon_mesh):
                self.skipped[t + " mesh"] += 1
            elif t in ("LWPOLYLINE", "POLYLINE"):
                self.add(ident, t, _polyline(e, self.flatten))
            elif t in ("LINE", "ARC", "CIRCLE", "ELLIPSE", "SPLINE"):
                self.add(ident, t, _simple(e, self.flatten))
            else:
                self.skipped[t] += 1

    def add(self, ident, t, prims):
        if prims:
            self.entities.append(DxfEntity(ident, t, prims))


def read_entities(path, flatten=0.01):
    """The model space of a DXF file as DxfEntity objects, and the Counter of
    what was left out. `flatten` is the largest distance (in the drawing's
    units) of a flattened curve from the curve."""
    doc, _ = recover.readfile(str(path))
    reader = _Reader(doc, flatten)
    reader.walk(doc.modelspace(), "")
    return reader.entities, reader.skipped


def write_dxf(path, prims):
    """Primitives in millimetres as a DXF drawing: LINE, ARC, CIRCLE, LWPOLYLINE."""
    doc = ezdxf.new("R2000")
    doc.header["$INSUNITS"] = 4
    msp = doc.modelspace()
    for p in prims:
        kind = p["type"]
        if kind == "segment":
            msp.add_line(p["a"], p["b"])
        elif kind == "arc":
            msp.add_arc(p["c"], p["r"], p["a0"], p["a1"])
        elif kind == "circle":
            msp.add_circle(p["c"], p["r"])
        else:
            msp.add_lwpolyline(p["pts"], close=p["closed"])
    doc.saveas(str(path))
