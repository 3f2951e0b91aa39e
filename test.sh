#!/usr/bin/env bash
# Builds ZelReport and runs every test headless; exits non-zero on any failure.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$ROOT/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
cd "$ROOT/build"
ctest --output-on-failure -j"$(nproc)" "$@"
