#!/usr/bin/env bash
# The vectorizer's quality benchmark: pages of known geometry rendered at
# 300 and 400 dpi with 0.35 and 0.7 mm pens, clean and as scans, vectorized
# by qov-convert --dxf-vectorize and by potrace, and scored against the
# geometry they were drawn from (see bench/README.md).
#
# Usage: bench/vector-quality/run.sh [--convert QOV-CONVERT] [--work DIR]
#            [--drawings N] [--quick] [--dpi LIST] [--pens LIST] ...
# (run.py --help lists every option). Defaults: build/release/cli/qov-convert,
# build/vector-quality, 10 LibreCAD drawings.
set -euo pipefail
here=$(dirname "$0")
python=/usr/bin/python3
script=vector-quality
build=build/release
convert=$build/cli/qov-convert
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  if [ "${args[i]}" = --convert ] && [ $((i + 1)) -lt ${#args[@]} ]; then
    convert=${args[i + 1]}
    build=$(dirname "$(dirname "$convert")")
  fi
done
source "$here/../require.sh"
require_built "$convert"
require_installed "$python" potrace /usr/bin/time
if [ ! -d /usr/share/librecad/library ]; then
  echo "$script: LibreCAD's part library is missing (scripts/install-deps.sh bench installs it)" >&2
  exit 1
fi
for module in ezdxf numpy scipy PIL; do
  if ! "$python" -c "import $module" 2>/dev/null; then
    echo "$script: Python's $module is missing (scripts/install-deps.sh bench installs it)" >&2
    exit 1
  fi
done
exec "$python" "$here/run.py" --convert "$convert" "$@"
