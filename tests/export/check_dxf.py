#!/usr/bin/python3
"""Loads a DXF file with ezdxf and checks it as another program would read it.

Usage: check_dxf.py FILE COUNT XMIN YMIN XMAX YMAX
       check_dxf.py FILE vector
The second form checks the vectorizer's drawing: read with no audit error,
entities only of its kinds and on its two layers, declared in the tables,
the header's extents holding every entity.
Exit status: 0 as expected, 1 not as expected, 77 ezdxf is not installed.
"""
import sys

try:
    import ezdxf
    from ezdxf import bbox
except ImportError:
    sys.exit(77)


VECTOR_KINDS = {"LINE", "ARC", "CIRCLE", "POLYLINE"}
VECTOR_LAYERS = {"CENTERLINES", "OUTLINES"}


def check_vector(doc, problems):
    msp = doc.modelspace()
    if not len(msp):
        problems.append("no entities")
    for e in msp:
        if e.dxftype() not in VECTOR_KINDS or e.dxf.layer not in VECTOR_LAYERS:
            problems.append(f"unexpected entity {e.dxftype()} on {e.dxf.layer}")
            break
    for layer in VECTOR_LAYERS:
        if layer not in doc.layers:
            problems.append(f"layer {layer} is not declared")
    ext = bbox.extents(msp)
    low, high = doc.header["$EXTMIN"], doc.header["$EXTMAX"]
    if ext.extmin.x < low[0] - 1e-3 or ext.extmin.y < low[1] - 1e-3 or \
            ext.extmax.x > high[0] + 1e-3 or ext.extmax.y > high[1] + 1e-3:
        problems.append(f"entities {ext} outside the header's extents {low} {high}")


def main():
    path = sys.argv[1]
    if sys.argv[2] == "vector":
        problems = []
        doc = ezdxf.readfile(path)
        problems += [f"audit: {error.message}" for error in doc.audit().errors]
        check_vector(doc, problems)
        for p in problems:
            print(f"{path}: {p}")
        return 1 if problems else 0
    count = int(sys.argv[2])
    expected_min = (float(sys.argv[3]), float(sys.argv[4]))
    expected_max = (float(sys.argv[5]), float(sys.argv[6]))
    problems = []

    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    for error in auditor.errors:
        problems.append(f"audit: {error.message}")

    msp = doc.modelspace()
    entities = list(msp)
    if len(entities) != count:
        problems.append(f"{len(entities)} entities, expected {count}")
    for e in entities:
        if e.dxftype() != "LINE" or e.dxf.layer != "0-0" or e.dxf.color not in (4, 7):
            problems.append(f"unexpected entity {e.dxftype()} on {e.dxf.layer}")
            break

    if count:
        ext = bbox.extents(msp)
        got = (ext.extmin.x, ext.extmin.y, ext.extmax.x, ext.extmax.y)
        want = expected_min + expected_max
        if any(abs(g - w) > 1e-6 * max(1.0, abs(w)) for g, w in zip(got, want)):
            problems.append(f"extents {got}, expected {want}")

    for p in problems:
        print(f"{path}: {p}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
