#!/usr/bin/env bash
# make run's batch part: converts the sample picture with every export of
# qov-convert into an output folder, then loads the DXF files in an
# independent DXF reader where one is installed.
set -euo pipefail
convert=$1 sample=$2 out=$3
mkdir -p "$out"
name=$(basename "$sample" .bmp)

run() { echo "  qov-convert $*"; "$convert" "$@"; }

echo "Converting $sample into $out/:"
run "$sample" --save-bmp "$out/$name.bmp"
run "$sample" --dxf-crosses "$out/$name.crosses.dxf"
run "$sample" --threshold 50 --dxf-lines "$out/$name.lines.dxf"
run "$sample" --threshold 50 --dxf-trace "$out/$name.trace.dxf"
run "$sample" --dxf-vectorize "$out/$name.vector.dxf"
run "$sample" --vectorscript "$out/$name.vs.txt"
run "$sample" --vectorscript-all "$out/$name.vs-all.txt"
run "$sample" --threshold 50 --outline --save-bmp "$out/$name.outline.bmp"
run "$sample" --dither1 --save-bmp "$out/$name.dither1.bmp"
run "$sample" --dither2 --save-bmp "$out/$name.dither2.bmp"
run "$sample" --error-diffusion --save-bmp "$out/$name.diffusion.bmp"

echo "Wrote:"
ls -l "$out" | sed -n '2,$p' | awk '{printf "  %10d  %s\n", $5, $9}'

if /usr/bin/python3 -c 'import ezdxf' 2>/dev/null; then
  echo "Loading the DXF files with ezdxf:"
  for f in "$out"/*.dxf; do
    /usr/bin/python3 - "$f" <<'PY'
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
counts = ", ".join(f"{len(doc.modelspace().query(kind))} {kind}"
                   for kind in ("LINE", "ARC", "CIRCLE", "POLYLINE"))
print(f"  {sys.argv[1]}: {counts} entities, {len(auditor.errors)} audit errors")
sys.exit(1 if auditor.errors else 0)
PY
  done
fi
