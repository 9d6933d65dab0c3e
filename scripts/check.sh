#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. the normal build (warnings are errors under CI) and its tests, among
#      them the Windows build's tests under Wine (label "wine");
#   2. a second build under AddressSanitizer and UndefinedBehaviorSanitizer and its tests;
#   3. each fuzz target for a short, fixed time on its seeds.
# Set ORVU_CHECK_QUICK=1 to run only the first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --tests
scripts/fetch-corpus.sh

werror=OFF
if [ "${CI:-}" = "true" ]; then
    werror=ON
fi
jobs=$(nproc)

echo "== build and test =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVU_BUILD_TESTS=ON \
      -DORVU_WARNINGS_AS_ERRORS=$werror
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

if [ "${ORVU_CHECK_QUICK:-}" = "1" ]; then
    exit 0
fi

echo "== build and test under AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVU_BUILD_TESTS=ON \
      -DORVU_BUILD_BENCHMARKS=OFF -DORVU_SANITIZE=ON -DORVU_WARNINGS_AS_ERRORS=$werror
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer-suppressions.txt:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

echo "== fuzz targets on their seeds =="
scripts/fuzz-smoke.sh
