#!/usr/bin/python3
"""Loads a DXF file with ezdxf and checks it as another program would read it.

Usage: check_dxf.py FILE COUNT XMIN YMIN XMAX YMAX
Exit status: 0 as expected, 1 not as expected, 77 ezdxf is not installed.
"""
import sys

try:
    import ezdxf
    from ezdxf import bbox
except ImportError:
    sys.exit(77)


def main():
    path = sys.argv[1]
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
