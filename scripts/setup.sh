#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the build needs
# when any is missing, then configures and builds incrementally into build/.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# What the set-up says goes to standard error, so that "./run.sh zelreport
# data ... > out.tsv" writes only the program's own output.
exec 1>&2

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-svg-dev libqt6sql6-sqlite libqt6sql6-psql libsqlite3-dev postgresql
  fonts-liberation2 fonts-dejavu-core fonts-wine fonts-wqy-microhei
  xvfb xauth xdotool poppler-utils libcups2-dev libqpdf-dev qpdf librsvg2-bin
  libpng-dev libjpeg-dev zlib1g-dev libexpat1-dev
  libgtest-dev libbenchmark-dev doxygen
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

export CCACHE_BASEDIR="$ROOT"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
BUILD="$ROOT/build"
if [ ! -f "$BUILD/build.ninja" ]; then
  # Optimised with debug information, for profiling. ZEL_QUICK_BUILD=1 (the
  # CI run) builds for the tests only: light optimisation, no debug
  # information and no benchmarks.
  FLAGS=()
  [ -z "${ZEL_QUICK_BUILD:-}" ] || FLAGS+=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" -DZEL_BUILD_BENCH=OFF)
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${FLAGS[@]}"
fi
cmake --build "$BUILD" -- -j"$(nproc)"
