#!/usr/bin/env bash
# Times qov-convert end to end against the tools a user would otherwise run,
# side by side on the same 4000 × 4000 pictures, and prints one row per task
# with the fastest of RUNS runs of each and their ratio:
#
#   read + write a 24-bit .bmp   --save-bmp                      cp
#   threshold 50 %               --threshold 50                  ImageMagick -threshold 50%
#   ordered dithers              --dither1, --dither2            ImageMagick -ordered-dither o3x3, o2x2
#   error diffusion              --error-diffusion               Pillow's Floyd–Steinberg
#   outline                      --threshold 50 --outline        ImageMagick -morphology EdgeIn
#   auto trace to DXF            --threshold 50 --dxf-trace      potrace -b dxf
#   DXF crosses, lines, VectorScript                             dd writing as many bytes
#
# The raster rows save the result as a .bmp, as the peers do. The pictures
# (a photograph-like colour picture and a line drawing) are drawn with Pillow.
#
# Usage: bench/compare-peers.sh [BUILD-FOLDER] [RUNS]   (build/release, 3)
# scripts/install-deps.sh bench installs the peers.
set -euo pipefail
build=${1:-build/release}
runs=${2:-3}
convert=$build/cli/qov-convert
python=/usr/bin/python3
# Debian's ImageMagick by its own path: another "convert" may come first in PATH.
magick=/usr/bin/convert-im6.q16

script=compare-peers
source "$(dirname "$0")/require.sh"
require_built "$convert"
require_installed "$magick" "$python" potrace dd cp

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
photo=$work/photo.bmp
drawing=$work/drawing.bmp
"$python" - "$photo" "$drawing" <<'PY'
import sys
from PIL import Image, ImageDraw
n = 4000
red = Image.linear_gradient("L").resize((n, n))
green = Image.radial_gradient("L").resize((n, n))
blue = Image.effect_mandelbrot((n, n), (-2.0, -1.5, 1.0, 1.5), 100)
Image.merge("RGB", (red, green, blue)).save(sys.argv[1])
drawing = Image.new("RGB", (n, n), "white")
d = ImageDraw.Draw(drawing)
d.rectangle((100, 100, n - 100, n - 100), outline="black", width=5)
for i in range(12):
    for j in range(12):
        x, y = 250 + 300 * i, 250 + 300 * j
        d.ellipse((x, y, x + 60 + 10 * j, y + 60 + 10 * i), outline="black", width=3)
        d.line((x, y + 150, x + 250, y + 150 + 20 * (i - j)), fill="black", width=2)
for k in range(0, n, 37):
    d.line((k, 3600, min(n - 1, k + 300), 3900), fill="black", width=1)
drawing.save(sys.argv[2])
PY

# One run of a command: wall-clock and processor (user + system)
# milliseconds, read from wait4 with microsecond resolution (GNU time counts
# in 10 ms steps, too coarse for cp and dd).
measure() {
  "$python" - "$@" <<'PY'
import os, sys, time
start = time.perf_counter()
pid = os.fork()
if pid == 0:
    null = os.open(os.devnull, os.O_WRONLY)
    os.dup2(null, 1)
    os.dup2(null, 2)
    os.execvp(sys.argv[1], sys.argv[1:])
_, status, usage = os.wait4(pid, 0)
wall = time.perf_counter() - start
print(f"{wall * 1000:.1f} {(usage.ru_utime + usage.ru_stime) * 1000:.1f}")
sys.exit(os.waitstatus_to_exitcode(status))
PY
}

# The fastest of $runs runs after one warm-up: wall-clock and processor
# milliseconds, each the least of the runs. On a shared machine the
# processor time is the steadier of the two.
fastest() {
  local wall='' cpu='' w c
  "$@" >/dev/null
  for ((i = 0; i < runs; i++)); do
    read -r w c < <(measure "$@")
    if [ -z "$wall" ] || awk -v a="$w" -v b="$wall" 'BEGIN { exit !(a < b) }'; then wall=$w; fi
    if [ -z "$cpu" ] || awk -v a="$c" -v b="$cpu" 'BEGIN { exit !(a < b) }'; then cpu=$c; fi
  done
  echo "$wall $cpu"
}

# row TASK GOAL QOV-COMMAND... -- PEER-COMMAND...
row() {
  local task=$1 goal=$2 qov=() peer=() q p
  shift 2
  while [ "$1" != -- ]; do qov+=("$1"); shift; done
  shift
  peer=("$@")
  q=$(fastest "${qov[@]}")
  p=$(fastest "${peer[@]}")
  awk -v t="$task" -v q="$q" -v p="$p" -v g="$goal" -v peer="${peer[0]##*/}" 'BEGIN {
    split(q, a, " "); split(p, b, " ")
    printf "| %-24s | %7.1f | %7.1f | %-15s | %7.1f | %7.1f | %5.2f | %5.2f | %s |\n", t, a[1], b[1], peer,
      a[2], b[2], a[1] / b[1], a[2] / b[2], g }'
}

# dd writing as many bytes as FILE holds, into the same folder.
dd_like() {
  echo dd if=/dev/zero of="$work/dd.out" bs=64K count="$(stat -c %s "$1")" iflag=count_bytes status=none
}

echo "Pictures: 4000 x 4000, 24-bit .bmp ($(stat -c %s "$photo") bytes); fastest of $runs runs"
echo "CPU: $(nproc) x $(lscpu | sed -n 's/^Model name: *//p'); load $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| task | QOV wall ms | peer wall ms | peer | QOV cpu ms | peer cpu ms | wall ratio | cpu ratio | goal |"
echo "|---|---|---|---|---|---|---|---|---|"
out=$work/out
row "read + write 24-bit .bmp" "≤ 1.5" "$convert" "$photo" --save-bmp "$out.bmp" -- cp "$photo" "$out-cp.bmp"
row "threshold 50 %" "≤ 0.3" "$convert" "$photo" --threshold 50 --save-bmp "$out.bmp" \
  -- "$magick" "$photo" -threshold 50% "$out-im.bmp"
row "ordered dither 3 × 3" "≤ 0.3" "$convert" "$photo" --dither1 --save-bmp "$out.bmp" \
  -- "$magick" "$photo" -ordered-dither o3x3 "$out-im.bmp"
row "ordered dither 2 × 2" "≤ 0.3" "$convert" "$photo" --dither2 --save-bmp "$out.bmp" \
  -- "$magick" "$photo" -ordered-dither o2x2 "$out-im.bmp"
row "error diffusion" "≤ 0.5" "$convert" "$photo" --error-diffusion --save-bmp "$out.bmp" \
  -- "$python" -c "import sys; from PIL import Image; Image.open(sys.argv[1]).convert('1').save(sys.argv[2])" \
  "$photo" "$out-pil.bmp"
row "outline" "≤ 0.3" "$convert" "$drawing" --threshold 50 --outline --save-bmp "$out.bmp" \
  -- "$magick" "$drawing" -threshold 50% -morphology EdgeIn Diamond "$out-im.bmp"
row "auto trace to DXF" "≤ 0.2" "$convert" "$drawing" --threshold 50 --dxf-trace "$out-trace.dxf" \
  -- potrace -b dxf -o "$out-potrace.dxf" "$drawing"
"$convert" "$drawing" --dxf-crosses "$out-crosses.dxf"
row "DXF crosses" "≤ 1.3" "$convert" "$drawing" --dxf-crosses "$out-crosses.dxf" \
  -- $(dd_like "$out-crosses.dxf")
"$convert" "$drawing" --dxf-lines "$out-lines.dxf"
row "DXF lines" "≤ 1.3" "$convert" "$drawing" --dxf-lines "$out-lines.dxf" -- $(dd_like "$out-lines.dxf")
"$convert" "$drawing" --vectorscript "$out-vs.txt"
row "VectorScript" "≤ 1.3" "$convert" "$drawing" --vectorscript "$out-vs.txt" -- $(dd_like "$out-vs.txt")
echo
echo "Outputs: trace $(stat -c %s "$out-trace.dxf") bytes, potrace $(stat -c %s "$out-potrace.dxf") bytes;" \
  "crosses $(stat -c %s "$out-crosses.dxf"), lines $(stat -c %s "$out-lines.dxf"), VectorScript $(stat -c %s "$out-vs.txt") bytes"
