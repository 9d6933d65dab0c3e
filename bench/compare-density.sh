#!/bin/bash
# The window on a screen of one device pixel a pixel and on one of two, side
# by side in one run, alternating so that both meet the same machine load:
# Start on FILE (every tile drawn at the screen's size), then a folder
# harvest of DIR (total time, longest pause, peak memory).
#
#   bench/compare-density.sh BUILD FILE DIR [ROUNDS]
#
# BUILD is a build folder with the benchmarks (-DORVU_BUILD_BENCHMARKS=ON);
# DIR a tree from `orvu-window-bench make-tree`.
set -euo pipefail
build=$1 file=$2 dir=$3 rounds=${4:-3}
bench="$build/bench/orvu-window-bench"

for ((round = 1; round <= rounds; round++)); do
    for ratio in 1 2; do
        QT_SCALE_FACTOR=$ratio "$bench" start "$file" --repeat 10
    done
done

for ((round = 1; round <= rounds; round++)); do
    for ratio in 1 2; do
        QT_SCALE_FACTOR=$ratio "$bench" scan "$dir"
    done
done
