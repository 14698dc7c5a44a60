#!/usr/bin/env bash
# make bench: runs every benchmark program of a build folder, then the
# comparison with other tracers. Figures go to standard output; the
# recorded ones are in bench/README.md.
set -euo pipefail
build=$1
shopt -s nullglob
found=0
for bench in "$build"/bench/bench_*; do
  [ -x "$bench" ] || continue
  found=1
  echo "== $(basename "$bench")"
  "$bench" --benchmark_counters_tabular=true
done
[ $found -eq 1 ] || echo "run-benchmarks: no benchmark programs in $build/bench" >&2
if [ -x bench/compare-peers.sh ]; then
  echo "== compare-peers"
  bench/compare-peers.sh "$build"
fi
if [ -x bench/compare-batch.sh ]; then
  echo "== compare-batch"
  bench/compare-batch.sh "$build"
fi
if [ -x bench/a0-formats.sh ]; then
  echo "== a0-formats"
  bench/a0-formats.sh "$build"
fi
