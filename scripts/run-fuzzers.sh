#!/usr/bin/env bash
# Runs every fuzz target of a build folder for a while over its seed corpus.
#   scripts/run-fuzzers.sh BUILD_DIR SECONDS
# Each fuzz_NAME binary gets SECONDS over fuzz/corpus/NAME (read only: new
# inputs go to a temporary working corpus). Crash inputs are kept in
# BUILD_DIR/fuzz-artifacts/NAME/; keep them in fuzz/regressions/ once fixed.
# Exits non-zero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
seconds=${2:?usage: run-fuzzers.sh BUILD_DIR SECONDS}

mapfile -t targets < <(find "$build" -type f -name 'fuzz_*' -perm -u+x | sort)
if [ ${#targets[@]} -eq 0 ]; then
  echo "run-fuzzers: no fuzz_* binaries in $build" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for target in "${targets[@]}"; do
  name=$(basename "$target")
  name=${name#fuzz_}
  seeds=fuzz/corpus/$name
  artifacts=$build/fuzz-artifacts/$name
  mkdir -p "$work/$name" "$artifacts"
  echo "run-fuzzers: $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=4096 -max_len=200000 \
      -print_final_stats=1 -artifact_prefix="$artifacts/" \
      "$work/$name" "$seeds" fuzz/regressions 2>"$work/$name.log"; then
    status=1
    echo "run-fuzzers: $name found a problem; inputs in $artifacts" >&2
    tail -40 "$work/$name.log" >&2
  else
    grep -E '^stat::(number_of_executed_units|peak_rss_mb|new_units_added)' "$work/$name.log" || true
  fi
done
exit $status
