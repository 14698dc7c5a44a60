#!/usr/bin/env bash
# Times QOV's auto trace against potrace on the same A4 drawing scanned at
# 300 dpi (2480 × 3508 pixels, written by bench_export), side by side:
#
#   qov-convert A4.bmp --threshold 50 --dxf-trace OUT.dxf
#   potrace -b dxf -o OUT.dxf A4.bmp
#
# Usage: bench/compare-peers.sh [BUILD-FOLDER] [RUNS]   (build/release, 5)
# Uses hyperfine when it is installed, else times each run itself.
set -euo pipefail
build=${1:-build/release}
runs=${2:-5}
convert=$build/cli/qov-convert
bench=$build/bench/bench_export

for tool in "$convert" "$bench"; do
  if [ ! -x "$tool" ]; then
    echo "compare-peers: $tool is missing; build the $build folder first" >&2
    exit 1
  fi
done
if ! command -v potrace >/dev/null; then
  echo "compare-peers: potrace is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-a4 "$work/a4.bmp"

qov="$convert $work/a4.bmp --threshold 50 --dxf-trace $work/qov.dxf"
peer="potrace -b dxf -o $work/potrace.dxf $work/a4.bmp"

echo "Picture: A4 at 300 dpi, 2480 x 3508 pixels, $(stat -c %s "$work/a4.bmp") bytes (24-bit .bmp)"
echo "CPU: $(nproc) x $(lscpu | sed -n 's/^Model name: *//p')"

if command -v hyperfine >/dev/null; then
  hyperfine --warmup 1 --runs "$runs" -n qov-convert "$qov" -n potrace "$peer"
else
  # Wall-clock seconds of each run, then the mean and the fastest.
  time_runs() {
    local name=$1 command=$2 times=() start end
    $command >/dev/null  # warm-up
    for ((i = 0; i < runs; i++)); do
      start=$(date +%s%N)
      $command >/dev/null
      end=$(date +%s%N)
      times+=("$(((end - start) / 1000000))")
    done
    printf '%s\n' "${times[@]}" | awk -v name="$name" -v runs="$runs" '
      { sum += $1; if (min == "" || $1 < min) min = $1; if ($1 > max) max = $1 }
      END { printf "  %-12s mean %7.1f ms   min %6d ms   max %6d ms   (%d runs)\n",
                   name, sum / runs, min, max, runs }'
  }
  echo "Wall-clock time (hyperfine is not installed):"
  time_runs qov-convert "$qov"
  time_runs potrace "$peer"
fi

echo "Outputs:"
printf '  %-12s %10d bytes, %d LINE entities\n' qov-convert "$(stat -c %s "$work/qov.dxf")" \
  "$(grep -c '^LINE$' "$work/qov.dxf")"
printf '  %-12s %10d bytes, %d entities\n' potrace "$(stat -c %s "$work/potrace.dxf")" \
  "$(grep -cE '^(LINE|POLYLINE|LWPOLYLINE|SPLINE)$' "$work/potrace.dxf")"
