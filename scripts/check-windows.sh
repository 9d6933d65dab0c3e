#!/usr/bin/env bash
# The Windows checks: cross-builds the core, the window, orvu-icons-cli and the test
# suites that need no Qt for 64-bit Windows with mingw-w64, runs them under
# Wine, compares the reader with the Windows API (Wine's user32 and gdi32)
# on every corpus file and on generated icon files, and uses the window, its
# installer and its zip on an X screen of their own: the CTest label "wine".
#
#   scripts/check-windows.sh                      in the build folder "build"
#   ORVU_BUILD_DIR=build-other scripts/check-windows.sh
#
# The native build folder is configured if it doesn't exist yet (as
# scripts/check.sh does) and kept as it is otherwise; the Windows build lands
# in <build>/wine-cross and the Wine prefix in <build>/wine-prefix. Under
# CI=true warnings are errors in both builds. See docs/windows.md.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --tests
scripts/fetch-corpus.sh

build=${ORVU_BUILD_DIR:-build}
werror=OFF
if [ "${CI:-}" = "true" ]; then
    werror=ON
fi
jobs=$(nproc)

echo "== Windows: cross build, tests under Wine, comparison with the Windows API =="
start=$SECONDS
if [ -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DORVU_WINE_TESTS=ON -DORVU_WARNINGS_AS_ERRORS=$werror
else
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVU_BUILD_TESTS=ON \
          -DORVU_WARNINGS_AS_ERRORS=$werror -DORVU_WINE_TESTS=ON
fi
# What the tests labelled wine run natively; the Windows build is their first test.
cmake --build "$build" -j "$jobs" --target orvu-icons-cli orvu_icon_cases orvu_compare_cells \
    orvu_icons_shared
ctest --test-dir "$build" -L wine --output-on-failure -j "$jobs"
echo "Windows checks: $((SECONDS - start)) s"
