#!/usr/bin/env bash
# Opens the preview on the grouped benchmark report of 100,000 rows (or the
# row counts given): when the first page shows, the build, and paging speed.
#   bench/preview.sh [ROWS...]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="${BENCH_BIN:-$ROOT/build/bin/bench_preview_bench}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
for n in "${@:-100000}"; do
  mkdir -p "$WORK/$n"
  cp "$ROOT/examples/bench-grouped.zt3" "$WORK/$n/"
  python3 "$ROOT/bench/gen_data.py" "$n" "$WORK/$n/bench.sqlite" >/dev/null
  echo "$n rows: $("$BIN" "$WORK/$n/bench-grouped.zt3")"
done
