#!/usr/bin/env bash
# Writes PNG pictures of every window of the desktop program to OUTDIR:
# the main window at ×1 and ×4, each menu open, the threshold, VectorScript
# and About dialogs, a long command's progress, the vectorizer's dialog and
# preview, a save prompt and the print preview.
#   scripts/screenshots.sh BUILDDIR OUTDIR [PICTURE.bmp]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: screenshots.sh BUILDDIR OUTDIR [PICTURE.bmp]}
out=${2:?usage: screenshots.sh BUILDDIR OUTDIR [PICTURE.bmp]}
picture=${3:-res/samples/drawing-24.bmp}

cmake --build "$build" --target qov-screenshots >/dev/null
mkdir -p "$out"
rm -f "$out"/*.png
# A settings folder of its own, so that the recent-file list shown is the
# picture's alone; the pictures do not depend on a display being there.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='qt.qpa.*=false' \
  "$build/tests/gui/qov-screenshots" "$out" "$picture"
echo "screenshots: $(ls "$out"/*.png | wc -l) pictures in $out"
