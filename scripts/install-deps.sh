#!/usr/bin/env bash
# Installs the Debian packages that building, testing, benchmarking and fuzzing
# QOV need. Only what is missing is installed; apt-get update runs only then.
#
#   scripts/install-deps.sh          what make test needs
#   scripts/install-deps.sh bench    and the programs make bench compares with
set -euo pipefail

packages=(
  build-essential g++ clang libclang-rt-dev clang-format cmake ninja-build make
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libqt6svg6 qt6-image-formats-plugins
  fonts-ipafont-gothic
  libtiff-dev libpng-dev libjpeg62-turbo-dev libnetpbm-dev libtiff-tools netpbm
  python3 python3-ezdxf python3-pil libdxflib-dev libdime-dev gdal-bin
  potrace xvfb xauth desktop-file-utils dbus strace parallel
)
# Only the benchmarks (the side-by-side comparison, the vectorizer's quality)
# run these; make test does not wait for them.
if [ "${1:-}" = bench ]; then
  packages+=(imagemagick time python3-numpy python3-scipy librecad-data)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
