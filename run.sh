#!/usr/bin/env bash
# Builds ZelReport and starts the host program on examples/test.zt3.
#   ./run.sh                 the host window
#   ./run.sh zelreport ARGS  the command-line tool
#   ./run.sh docs            the API reference, into build/docs/html
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$ROOT/scripts/setup.sh"

if [ "${1:-}" = "docs" ]; then
  # Doxygen's warnings go to build/docs/warnings.txt.
  exec cmake --build "$ROOT/build" --target docs
fi
if [ "${1:-}" = "zelreport" ]; then
  shift
  exec "$ROOT/build/bin/zelreport" "$@"
fi
cd "$ROOT/examples"
exec "$ROOT/build/bin/zelhost" "$@"
