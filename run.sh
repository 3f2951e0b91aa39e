#!/usr/bin/env bash
# Builds ZelReport and starts the host program on examples/test.zt3.
#   ./run.sh                 the host window
#   ./run.sh zelreport ARGS  the command-line tool
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$ROOT/scripts/setup.sh"

if [ "${1:-}" = "zelreport" ]; then
  shift
  exec "$ROOT/build/bin/zelreport" "$@"
fi
cd "$ROOT/examples"
exec "$ROOT/build/bin/zelhost" "$@"
