#!/usr/bin/env bash
# Builds the grouped-list benchmark report on 10,000 and 100,000 rows (or the
# row counts given) and prints build time, pages, pages per second and peak
# memory for each, with and without per-row script formatting.
#   bench/grouped.sh [ROWS...]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="${BENCH_BIN:-$ROOT/build/bin/bench_grouped_bench}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
for rows in "${@:-10000 100000}"; do
  for n in $rows; do
    mkdir -p "$WORK/$n"
    cp "$ROOT/examples/bench-grouped.zt3" "$WORK/$n/"
    python3 "$ROOT/bench/gen_data.py" "$n" "$WORK/$n/bench.sqlite" >/dev/null
    echo "$n rows: $("$BIN" "$WORK/$n/bench-grouped.zt3")"
    echo "$n rows, script formatting: $("$BIN" "$WORK/$n/bench-grouped.zt3" --script)"
  done
done
