#!/usr/bin/env bash
# Checks that every layer includes only what lies below it: platform/ neither
# res/ nor shell/, and the system's code and qov-convert no shell/. Every
# target sees the whole tree through one include folder, so the compiler
# cannot tell; this does, in make test.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
forbid() {
  local pattern=$1
  shift
  local found
  found=$(grep -rnE "^#include \"($pattern)/" "$@" --include='*.h' --include='*.cpp' || true)
  if [ -n "$found" ]; then
    echo "$found"
    echo "check-layers: $* may not include $pattern/" >&2
    status=1
  fi
}
forbid 'res|shell' platform
forbid 'shell' image raster export vector view cli
forbid 'view|raster|export' vector
exit $status
