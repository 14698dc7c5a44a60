#!/usr/bin/env bash
# The large-format benchmark: an A0 drawing at 400 dpi (13244 × 18732
# pixels, the A4 drawing of bench_export tiled over the sheet) as bilevel
# G4 TIFF, PNG and PBM.
#
#   1. open, threshold 50, auto trace to DXF in qov-convert, beside
#      potrace -b dxf on the same page as PBM: wall time and peak RSS;
#   2. opening alone (qov-convert INPUT, no operation) of each file, beside
#      the libraries' own tools decoding it (tiffcp to an uncompressed TIFF,
#      pngtopnm, pamtopnm) and beside opening the same page as a 24-bit
#      .bmp, which costs what filling the 744 MB block costs.
# Wall time, CPU time (user + system: less sensitive to other load), its
# system part and peak RSS. The system time is mostly the kernel zeroing the
# pages of the block on first touch; on a virtual machine that cost swings
# from run to run, so the user time is the steadier measure of a reader.
#
# Usage: bench/a0-formats.sh [BUILD-FOLDER] [RUNS]   (build/release, 3)
# Each figure is the run of least CPU time of RUNS runs.
set -euo pipefail
build=${1:-build/release}
runs=${2:-3}
convert=$build/cli/qov-convert
bench=$build/bench/bench_export
script=a0-formats
source "$(dirname "$0")/require.sh"
require_built "$convert" "$bench"
require_installed potrace pamtotiff pnmtopng pnmtile tiffcp /usr/bin/time

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-a4 "$work/a4.bmp"
bmptopnm "$work/a4.bmp" 2>/dev/null | ppmtopgm | pamthreshold -simple -threshold=0.5 2>/dev/null |
  pamtopnm | pnmtile 13244 18732 >"$work/a0.pbm"
pamtotiff -g4 "$work/a0.pbm" >"$work/a0.tif" 2>/dev/null
pnmtopng "$work/a0.pbm" >"$work/a0.png" 2>/dev/null

echo "Page: A0 at 400 dpi, 13244 x 18732 pixels; G4 TIFF $(stat -c %s "$work/a0.tif") bytes," \
  "PNG $(stat -c %s "$work/a0.png") bytes, PBM $(stat -c %s "$work/a0.pbm") bytes"
echo "CPU: $(nproc) x $(lscpu | sed -n 's/^Model name: *//p'), load $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "Open, threshold 50, auto trace to DXF:"
report "qov-convert a0.tif --threshold 50 --dxf-trace" \
  "$convert" "$work/a0.tif" --threshold 50 --dxf-trace "$work/qov.dxf"
report "potrace -b dxf a0.pbm" potrace -b dxf -o "$work/potrace.dxf" "$work/a0.pbm"

echo
echo "Opening alone, beside the libraries' own decoding:"
report "qov-convert a0.tif" "$convert" "$work/a0.tif"
report "tiffcp -c none a0.tif" tiffcp -c none "$work/a0.tif" "$work/plain.tif"
report "qov-convert a0.png" "$convert" "$work/a0.png"
report "pngtopnm a0.png" pngtopnm "$work/a0.png"
report "qov-convert a0.pbm" "$convert" "$work/a0.pbm"
report "pamtopnm a0.pbm" pamtopnm "$work/a0.pbm"
"$convert" "$work/a0.tif" --save-bmp "$work/a0.bmp"
report "qov-convert a0.bmp (24-bit)" "$convert" "$work/a0.bmp"
