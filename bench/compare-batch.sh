#!/usr/bin/env bash
# Times a drawing archive converted three ways, the same work each time:
# a shell loop of one-picture runs, GNU parallel running them two at a time,
# and qov-convert's own run over many inputs with two jobs:
#
#   for f in pages/*.bmp; do qov-convert "$f" --threshold 50 --dxf-trace ...; done
#   parallel -j 2 qov-convert {} --threshold 50 --dxf-trace out/{/.}.dxf ::: pages/*.bmp
#   qov-convert -j 2 --recursive pages --threshold 50 --dxf-trace 'out/{stem}.dxf'
#
# The pages are the A4 drawing at 300 dpi of bench_export, as 1-bit .bmp
# files (what a scanner's bilevel mode gives), under different names.
#
# Usage: bench/compare-batch.sh [BUILD-FOLDER] [PAGES]   (build/release, 200)
set -euo pipefail
build=${1:-build/release}
pages=${2:-200}
convert=$(realpath -m "$build/cli/qov-convert")
bench=$build/bench/bench_export

script=compare-batch
source "$(dirname "$0")/require.sh"
require_built "$convert" "$bench"
require_installed parallel

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-a4 "$work/a4-24.bmp"
/usr/bin/python3 -c 'import sys; from PIL import Image
Image.open(sys.argv[1]).convert("1", dither=Image.Dither.NONE).save(sys.argv[2])' \
  "$work/a4-24.bmp" "$work/a4.bmp"
mkdir "$work/pages"
for ((i = 1; i <= pages; i++)); do
  cp "$work/a4.bmp" "$(printf '%s/pages/page%03d.bmp' "$work" "$i")"
done
cat "$work"/pages/*.bmp >/dev/null  # into the page cache for every way alike

echo "Archive: $pages pages, A4 at 300 dpi (2480 x 3508), 1-bit .bmp of $(stat -c %s "$work/a4.bmp") bytes"
echo "CPU: $(nproc) x $(lscpu | sed -n 's/^Model name: *//p'); load before: $(cut -d' ' -f1-3 /proc/loadavg)"

# Runs the command given in the folder `out-NAME` and prints its wall time.
timed() {
  local name=$1
  shift
  mkdir "$work/out-$name"
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  awk -v name="$name" -v pages="$pages" -v ns=$((end - start)) \
    'BEGIN { printf "  %-16s %8.2f s   %6.1f pages/s\n", name, ns / 1e9, pages / (ns / 1e9) }'
}

loop() {
  for f in "$work"/pages/*.bmp; do
    "$convert" "$f" --threshold 50 --dxf-trace "$work/out-shell-loop/$(basename "$f" .bmp).dxf"
  done
}

echo "Wall-clock time, one run each:"
timed shell-loop loop
timed parallel-j2 parallel -j 2 "$convert" {} --threshold 50 \
  --dxf-trace "$work/out-parallel-j2/{/.}.dxf" ::: "$work"/pages/*.bmp
timed qov-convert-j2 "$convert" -j 2 --quiet --recursive "$work/pages" --threshold 50 \
  --dxf-trace "$work/out-qov-convert-j2/{stem}.dxf"

for way in parallel-j2 qov-convert-j2; do
  if ! diff -rq "$work/out-shell-loop" "$work/out-$way" >/dev/null; then
    echo "compare-batch: the outputs of $way differ from the shell loop's" >&2
    exit 1
  fi
done
echo "Outputs: $(ls "$work/out-shell-loop" | wc -l) DXF files each way, identical."
