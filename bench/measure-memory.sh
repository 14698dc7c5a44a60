#!/usr/bin/env bash
# Peak memory of the commands on a large picture, in qov-convert and in the
# window (offscreen, driven through its dialogs by window_memory, when
# that was built): open, threshold, auto trace to DXF, against the size of
# the picture's 24-bit block. The picture is drawn here (lines on paper,
# 24-bit .bmp).
#
# Usage: bench/measure-memory.sh [BUILD-FOLDER] [WIDTH] [HEIGHT]   (build/release, 8000, 8000)
set -euo pipefail
build=${1:-build/release}
width=${2:-8000}
height=${3:-8000}
convert=$build/cli/qov-convert
script=measure-memory
source "$(dirname "$0")/require.sh"
require_built "$convert"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 - "$work/page.bmp" "$width" "$height" <<'PY'
import sys
from PIL import Image, ImageDraw
w, h = int(sys.argv[2]), int(sys.argv[3])
page = Image.new("RGB", (w, h), (250, 250, 245))
draw = ImageDraw.Draw(page)
for i in range(0, max(w, h), 97):
    draw.line((i, 0, w - 1 - i // 3, h - 1), fill=(20, 20, 20), width=3)
    draw.rectangle((i // 2, i // 3, i // 2 + 200, i // 3 + 120), outline=(0, 0, 0), width=2)
page.save(sys.argv[1])
PY
block=$((54 + ((3 * width + 3) / 4 * 4) * height))
# A run's report gives each conversion's peak resident set, as the kernel
# counts it for the process that converted the picture.
"$convert" --quiet --report "$work/report.jsonl" "$work/page.bmp" \
  --threshold 50 --dxf-trace "$work/page.dxf"
peak=$(sed -n 's/.*"peak_memory":\([0-9]*\).*/\1/p' "$work/report.jsonl")
# "NAME PEAK-BYTES": the peak against the block and the budget.
budget() {
  awk -v name="$1" -v peak="$2" -v block="$block" 'BEGIN {
    mb = 1048576
    printf "%s: peak %.1f MB = %.2f blocks; budget 2 blocks + 50 MB = %.1f MB\n",
           name, peak / mb, peak / block, (2 * block) / mb + 50
  }'
}
awk -v w="$width" -v h="$height" -v block="$block" 'BEGIN {
  printf "Picture %d x %d, 24-bit block %.1f MB\n", w, h, block / 1048576
}'
budget "qov-convert open, --threshold 50, --dxf-trace" "$peak"

window=$build/bench/window_memory
if [ -x "$window" ]; then
  # Each step's peak so far, in kB.
  QT_LOGGING_RULES='qt.qpa.*=false' "$window" "$work/page.bmp" "$work/window.dxf" \
    2>/dev/null >"$work/window.txt"
  while read -r step _ kb; do
    budget "window, after $step" "$((kb * 1024))"
  done < <(grep peak_kb "$work/window.txt")
fi
