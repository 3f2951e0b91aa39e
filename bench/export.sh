#!/usr/bin/env bash
# Exports the grouped-list benchmark report as PDF on 10,000 and 100,000 rows
# (or the row counts given), end to end as users run it, and prints for each
# the best and median of RUNS runs (5), peak memory, the PDF's size and the
# checker's verdict; beside it the build alone, to tell building from drawing
# and writing.
#   bench/export.sh [ROWS...]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="${BENCH_BIN:-$ROOT/build/bin}"
CHECK="$ROOT/../shared/bench/check_pdf.py"
RUNS="${RUNS:-5}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
for n in ${@:-10000 100000}; do
  mkdir -p "$WORK/$n"
  cp "$ROOT/examples/bench-grouped.zt3" "$WORK/$n/"
  python3 "$ROOT/bench/gen_data.py" "$n" "$WORK/$n/bench.sqlite" >/dev/null
  times=()
  peak=0
  for ((i = 0; i < RUNS; i++)); do
    out="$( { /usr/bin/time -f "%e %M" "$BIN/zelreport" export "$WORK/$n/bench-grouped.zt3" "$WORK/$n/out.pdf"; } 2>&1 >/dev/null | tail -1)"
    times+=("${out% *}")
    kb="${out#* }"
    ((kb > peak)) && peak=$kb
  done
  sorted=($(printf '%s\n' "${times[@]}" | sort -g))
  verdict="$(python3 "$CHECK" "$WORK/$n/out.pdf" "$WORK/$n/bench.sqlite" 2>&1 | tail -1)"
  size=$(stat -c %s "$WORK/$n/out.pdf")
  echo "$n rows: export best ${sorted[0]} s, median ${sorted[$((RUNS / 2))]} s, peak $((peak / 1024)) MB, PDF $((size / 1024)) KB; ${verdict##*-> }"
  echo "$n rows, build only: $("$BIN/bench_grouped_bench" "$WORK/$n/bench-grouped.zt3")"
done
