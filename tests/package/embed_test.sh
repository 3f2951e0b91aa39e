#!/usr/bin/env bash
# Installs the build into a fresh prefix, builds examples/embed against the
# installed package only (with CMake, and with pkg-config), runs it and reads
# the PDF it wrote with poppler. Also checks what the shared libraries show:
# their SONAME and no names but the library's own.
#   embed_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD="$1"
SOURCE="$2"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
PREFIX="$WORK/prefix"

cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
LIB="$PREFIX/lib/libzelreport.so"
# Outputs are read whole before they are searched: with pipefail, a grep -q
# that stops reading early would fail the pipe.
dynamic="$(objdump -p "$LIB")"
grep -q "SONAME *libzelreport.so.6$" <<<"$dynamic" || { echo "no SONAME libzelreport.so.6"; exit 1; }
strays="$(nm -D --defined-only -C "$LIB" "$PREFIX/lib/libzelreportpreview.so" | grep -v -E '^\S+ \S+ *$' |
  grep -v -E 'Tzel|Tkv|zel|kv|Variant|Canvas|^[^ ]+:$' || true)"
[ -z "$strays" ] || { echo "names outside the library's own are exported:"; echo "$strays" | head; exit 1; }
[ -f "$PREFIX/include/zelreport/model/report/zelreport.h" ] || { echo "headers missing"; exit 1; }
[ ! -e "$PREFIX/include/zelreport/host" ] || { echo "the host program's headers were installed"; exit 1; }

# With CMake: find_package(ZelReport) and ZelReport::Report, nothing else.
cmake -S "$SOURCE/examples/embed" -B "$WORK/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$PREFIX" >/dev/null
cmake --build "$WORK/cmake" >/dev/null
QT_QPA_PLATFORM=offscreen "$WORK/cmake/embed" "$SOURCE/examples/embed/sales.zt3" "$WORK/cmake.pdf"
text="$(pdftotext -layout "$WORK/cmake.pdf" -)"
for expected in "Sales by region, 2026" "North" "West" "Total 4420.75"; do
  grep -q "$expected" <<<"$text" || { echo "the PDF lacks \"$expected\":"; echo "$text"; exit 1; }
done

# With pkg-config.
export PKG_CONFIG_PATH="$PREFIX/lib/pkgconfig"
# shellcheck disable=SC2046
c++ "$SOURCE/examples/embed/main.cpp" -o "$WORK/pc-embed" $(pkg-config --cflags --libs zelreport) \
  -Wl,-rpath,"$PREFIX/lib"
QT_QPA_PLATFORM=offscreen "$WORK/pc-embed" "$SOURCE/examples/embed/sales.zt3" "$WORK/pc.pdf" >/dev/null
text="$(pdftotext "$WORK/pc.pdf" -)"
grep -q "Total 4420.75" <<<"$text" || { echo "the pkg-config build wrote no total"; exit 1; }
echo "embedded and exported with the installed package"
