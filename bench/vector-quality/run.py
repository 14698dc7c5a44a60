#!/usr/bin/python3
"""Makes the pages, runs qov-convert --dxf-vectorize and potrace on every
picture, scores both and prints a table per condition (clean or scan × dpi ×
pen, summed over the pages); the figures of every page go to results.csv in
the work folder. Pictures already made are kept (--fresh makes them again).
"""

import argparse
import csv
import os
import subprocess
import sys
import time
import zlib
from pathlib import Path

import dxfgeom
import geometry as g
import pages
import render
import score
import tables

QUICK_PAGES = ["lines", "arcs", "misc/t-part.dxf"]


def arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    add = parser.add_argument
    add("--convert", default="build/release/cli/qov-convert", help="qov-convert to run")
    add("--work", default="build/vector-quality", help="folder for pages and outputs")
    add("--drawings", type=int, default=10, help=f"LibreCAD drawings (at most {len(pages.DRAWINGS)})")
    add("--dpi", default="300,400", help="resolutions, comma-separated")
    add("--pens", default="0.35,0.7", help="pen widths in mm, comma-separated")
    add("--conditions", default="clean,scan", help="clean, scan or both")
    add("--rotation", type=float, default=0.3, help="degrees a scanned sheet is turned")
    add("--pass-dpi", action="store_true", help="also give qov-convert --dpi")
    add("--quick", action="store_true", help="lines, arcs and one drawing at 300 dpi, pen 0.35 mm")
    add("--fresh", action="store_true", help="make the pictures again")
    args = parser.parse_args()
    if args.quick:
        args.dpi, args.pens = "300", "0.35"
    args.dpi = [int(v) for v in args.dpi.split(",")]
    args.pens = [float(v) for v in args.pens.split(",")]
    args.conditions = args.conditions.split(",")
    return args


def page_list(args):
    chosen = QUICK_PAGES if args.quick else list(pages.SYNTHETIC) + pages.DRAWINGS[: args.drawings]
    for name in chosen:
        yield pages.SYNTHETIC[name]() if name in pages.SYNTHETIC else pages.drawing_page(name)


def measured(command, log):
    """Runs a command; returns its exit status, wall and processor seconds
    and peak resident memory in bytes. The peak comes from /usr/bin/time
    between: a child of this process would count this process's own memory
    at the fork as its peak."""
    peak_file = log.with_suffix(".peak")
    start = time.monotonic()
    with open(log, "wb") as err:
        timed = ["/usr/bin/time", "-f", "%M", "-o", str(peak_file)] + command
        proc = subprocess.Popen(timed, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=err)
        _, status, usage = os.wait4(proc.pid, 0)
    wall = time.monotonic() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    return {
        "status": proc.returncode,
        "wall_s": wall,
        "cpu_s": usage.ru_utime + usage.ru_stime,
        "peak_bytes": int(peak_file.read_text().split()[-1]) * 1024,
    }


def has_vectorizer(convert):
    help_text = subprocess.run([convert, "--help"], capture_output=True, text=True)
    return "--dxf-vectorize" in help_text.stdout + help_text.stderr


class Picture:
    """One rendering of a page: its files and what it was drawn with."""

    def __init__(self, work, truth, condition, dpi, pen):
        self.truth = truth
        self.condition, self.dpi, self.pen = condition, dpi, pen
        self.name = f"{truth['name']}-{condition}-{dpi}-{pen}"
        self.png = work / "pictures" / (self.name + ".png")
        self.pbm = self.png.with_suffix(".pbm")

    def make(self, fresh):
        if self.png.exists() and self.pbm.exists() and not fresh:
            return
        seed = zlib.crc32(self.name.encode())
        pixels = render.render(self.truth, self.dpi, self.pen, self.condition == "scan", seed)
        render.write_png(self.png, pixels, self.dpi)
        render.write_pbm(self.pbm, pixels)


def tool_commands(args, picture, out):
    """(tool, command, output, millimetres per output unit) for each tool."""
    qov = [args.convert, str(picture.png)]
    if args.pass_dpi:
        qov += ["--dpi", str(picture.dpi)]
    yield "qov-convert", qov + ["--dxf-vectorize", str(out / "qov.dxf")], out / "qov.dxf", 1.0
    potrace = ["potrace", "-b", "dxf", "-u", "10", "-o", str(out / "potrace.dxf"), str(picture.pbm)]
    yield "potrace", potrace, out / "potrace.dxf", 25.4 / picture.dpi


def run_picture(args, picture, vectorizer):
    """Rows of figures, one a tool, for one picture; the first is the truth
    itself written as DXF, which checks the scoring (it must come out
    perfect) and shows what an exact drawing costs in bytes."""
    out = Path(args.work) / "out" / picture.name
    out.mkdir(parents=True, exist_ok=True)
    row = {"page": picture.truth["name"], "condition": picture.condition}
    row.update(dpi=picture.dpi, pen=picture.pen)
    dxfgeom.write_dxf(out / "truth.dxf", picture.truth["primitives"])
    exact = score.score(picture.truth, out / "truth.dxf", picture.dpi, picture.pen)
    rows = [{**row, "tool": "truth", **exact}]
    for tool, command, dxf, unit_mm in tool_commands(args, picture, out):
        if tool == "qov-convert" and not vectorizer:
            rows.append({**row, "tool": tool, "status": "missing"})
            continue
        dxf.unlink(missing_ok=True)
        run = {**row, "tool": tool, **measured(command, out / f"{tool}.log")}
        if run["status"] == 0 and dxf.exists():
            run.update(score.score(picture.truth, dxf, picture.dpi, picture.pen, unit_mm))
        rows.append(run)
    return rows


def main():
    args = arguments()
    work = Path(args.work)
    (work / "pictures").mkdir(parents=True, exist_ok=True)
    vectorizer = has_vectorizer(args.convert)
    if not vectorizer:
        missing = f"{args.convert} has no --dxf-vectorize option; scoring potrace alone"
        print(f"vector-quality: {missing}", file=sys.stderr)
    rows = []
    for base in page_list(args):
        for condition in args.conditions:
            truth = pages.scanned(base, args.rotation) if condition == "scan" else base
            g.save_truth(work / "pictures" / f"{truth['name']}-{condition}.json", truth)
            for dpi in args.dpi:
                for pen in args.pens:
                    picture = Picture(work, truth, condition, dpi, pen)
                    print(f"vector-quality: {picture.name}", file=sys.stderr)
                    picture.make(args.fresh)
                    rows += run_picture(args, picture, vectorizer)
    with open(work / "results.csv", "w", newline="") as f:
        writer = csv.DictWriter(f, fieldnames=tables.csv_fields(rows), restval="")
        writer.writeheader()
        writer.writerows(rows)
    report = tables.markdown(rows)
    (work / "results.md").write_text(report)
    print(report)


if __name__ == "__main__":
    main()
