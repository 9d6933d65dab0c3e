#!/bin/bash
# The Windows window under Wine beside the Linux window, side by side in one
# run on one X screen, alternating so that both meet the same machine load:
# Start on FILE (every tile listed, then drawn), then a folder harvest of DIR
# (total time, longest pause, peak memory).
#
#   bench/compare-windows-window.sh BUILD CROSS FILE DIR [ROUNDS]
#
# BUILD is a native build folder with the benchmarks (-DORVU_BUILD_BENCHMARKS=ON),
# CROSS a Windows build with them:
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVU_WITH_QT=OFF -DORVU_BUILD_TESTS=OFF
#   cmake --build build-win --target orvu-window-bench
# DIR is a tree from `orvu-window-bench make-tree`. Needs Xvfb and Wine; the
# Windows window runs in the Wine prefix BUILD/wine-prefix, whose session
# this ends first (the tests run it without a screen).
set -euo pipefail
build=$1 cross=$2 file=$3 dir=$4 rounds=${5:-3}
linux="$build/bench/orvu-window-bench"
windows="$cross/bench/orvu-window-bench.exe"

export WINEPREFIX=$PWD/$build/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k 2>/dev/null || true
display_file=$(mktemp)
exec 5>"$display_file"
Xvfb -displayfd 5 -screen 0 1280x800x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$display_file")
# Wine's session starts with the first program: not inside a measurement.
wine "$windows" start "$file" >/dev/null 2>&1 || true

echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((round = 1; round <= rounds; round++)); do
    "$linux" start "$file" --repeat 10 2>/dev/null
    wine "$windows" start "$file" --repeat 10 2>/dev/null
done
for ((round = 1; round <= rounds; round++)); do
    "$linux" scan "$dir" 2>/dev/null
    wine "$windows" scan "$dir" 2>/dev/null
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
