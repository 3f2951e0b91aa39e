#!/usr/bin/env bash
# Builds the headless layers again with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer into build-san/, runs their tests there, then runs
# each fuzz target for FUZZ_SECONDS (default 60) from its corpus. Any finding
# fails the run. The window and command-line layers are left to the main
# build: they parse nothing the fuzzers and the layers below do not.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
FUZZ_SECONDS="${FUZZ_SECONDS:-60}"

PACKAGES=(clang libclang-rt-14-dev)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}" >&2
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

export CCACHE_BASEDIR="$ROOT"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
BUILD="$ROOT/build-san"
if [ ! -f "$BUILD/build.ninja" ]; then
  # Light optimisation and line tables only: the sanitizers need no more,
  # and the build stays quick.
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" -DZEL_FUZZ=ON -DZEL_BUILD_BENCH=OFF >&2
fi
LAYERS=(test_base test_model test_script test_prepared test_render test_engine test_export test_preview)
cmake --build "$BUILD" --target "${LAYERS[@]}" template_fuzzer prepared_fuzzer script_fuzzer -- -j"$(nproc)" >&2

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:quarantine_size_mb=64"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$BUILD" && ctest --output-on-failure -j"$(nproc)" -L "^($(IFS='|'; echo "${LAYERS[*]}"))\$")

# The script seeds are the test samples, each behind the byte that picks its
# language.
script_seeds="$BUILD/seeds-script"
mkdir -p "$script_seeds"
language=0
for sample in sample.pas sample.cps sample.bas sample.js; do
  { printf "\\$(printf %03o "$language")"; cat "$ROOT/tests/script/samples/$sample"; } >"$script_seeds/$sample"
  language=$((language + 1))
done

# Each fuzzer starts from its seeds in a scratch corpus; a crash, leak, hang
# or sanitizer finding ends it with a non-zero status and the input saved.
for target in template:$ROOT/fuzz/corpus:fuzz/template.dict:4096 \
  prepared:$ROOT/fuzz/corpus-prepared:fuzz/prepared.dict:8192 \
  script:$script_seeds:fuzz/script.dict:4096; do
  IFS=: read -r name seeds dict maxlen <<<"$target"
  corpus="$BUILD/corpus-$name"
  mkdir -p "$corpus"
  echo "Fuzzing $name for ${FUZZ_SECONDS} s" >&2
  "$BUILD/bin/${name}_fuzzer" "$corpus" "$seeds" -dict="$ROOT/$dict" -max_len="$maxlen" \
    -timeout=10 -rss_limit_mb=2048 -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
    -artifact_prefix="$BUILD/$name-" 2>&1 | grep -v '^"' | tail -n 12 >&2
done
