#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a fixed time on its seeds in
# fuzz/corpus. Fails on the first crash, leak, timeout or memory blow-up;
# the input that caused it lands in build-fuzz/smoke-artifacts/.
#   ORVU_FUZZ_SECONDS   seconds per target (default 40; the small shortcut
#                       reader gets a quarter of it)
#   ORVU_FUZZ_TARGETS   targets to run (default: all six)
# New inputs found meanwhile go to a scratch folder, never into fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${ORVU_FUZZ_SECONDS:-40}
targets=${ORVU_FUZZ_TARGETS:-"icon_library icon_image icon_cell cursor animation shortcut"}

scripts/install-deps.sh --tests

echo "== build the fuzz targets =="
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DORVU_BUILD_FUZZERS=ON -DORVU_BUILD_TESTS=OFF -DORVU_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target orvu_fuzzers -j "$(nproc)"

artifacts=build-fuzz/smoke-artifacts
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for target in $targets; do
    dictionary=fuzz/icons.dict
    time=$seconds
    case $target in
        icon_library | cursor | animation) max_len=65536 ;;
        shortcut) max_len=8192 dictionary=fuzz/shortcuts.dict time=$(((seconds + 3) / 4)) ;;
        *) max_len=16384 ;;
    esac
    echo "== $target: ${time} s on $(ls fuzz/corpus/$target | wc -l) seeds =="
    mkdir -p "$scratch/$target"
    log="$scratch/$target.log"
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
         build-fuzz/fuzz/orvu_fuzz_$target "$scratch/$target" "fuzz/corpus/$target" \
             -dict=$dictionary -max_len=$max_len -timeout=5 -rss_limit_mb=2048 \
             -max_total_time="$time" -print_final_stats=1 \
             -artifact_prefix="$artifacts/$target-" >"$log" 2>&1; then
        grep -v '^#' "$log" | tail -60 >&2
        echo "fuzz-smoke: $target failed; the input is in $artifacts/" >&2
        exit 1
    fi
    grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb))' "$log"
done
echo "fuzz-smoke: every target ran without a finding"
