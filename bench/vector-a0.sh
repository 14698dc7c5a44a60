#!/usr/bin/env bash
# The vectorizer on a whole A0 sheet at 400 dpi (13244 x 18732 pixels, G4
# TIFF with its resolution): the benchmark's synthetic line page drawn as a
# scan with a 0.35 mm pen, repeated over the sheet, vectorized by
# qov-convert and by potrace. Processor time, wall clock and peak memory of
# the run of least processor time of RUNS.
#
# Usage: bench/vector-a0.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build/release}
runs=${2:-3}
convert=$build/cli/qov-convert
script=vector-a0
here=$(dirname "$0")
source "$here/require.sh"
require_built "$convert"
require_installed /usr/bin/python3 potrace pnmtile pamtotiff /usr/bin/time

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$here/vector-quality" && /usr/bin/python3 - "$work/page.pbm" <<'PY'
import sys
import pages, render
truth = pages.scanned(pages.SYNTHETIC["lines"](), 0.3)
render.write_pbm(sys.argv[1], render.render(truth, 400, 0.35, True, 1))
PY
)
pnmtile 13244 18732 "$work/page.pbm" >"$work/a0.pbm"
pamtotiff -g4 -xresolution 400 -yresolution 400 "$work/a0.pbm" >"$work/a0.tif" 2>/dev/null

echo "Page: A0 at 400 dpi, 13244 x 18732 pixels, G4 TIFF $(stat -c %s "$work/a0.tif") bytes"
echo "CPU: $(nproc) x $(lscpu | sed -n 's/^Model name: *//p'), load $(cut -d' ' -f1-3 /proc/loadavg)"
report "qov-convert a0.tif --dxf-vectorize" "$convert" "$work/a0.tif" --dxf-vectorize "$work/qov.dxf"
report "qov-convert a0.tif (opening alone)" "$convert" "$work/a0.tif"
report "potrace -b dxf a0.pbm" potrace -b dxf -o "$work/potrace.dxf" "$work/a0.pbm"
echo "24-bit block: $(((13244 * 3 + 3) / 4 * 4 * 18732 / 1048576)) MB; two bytes a pixel: $((13244 * 18732 * 2 / 1048576)) MB"
