#!/bin/bash
# Every benchmark of the window, in two builds side by side in one run (say
# the code before a change and after it), alternating so that both meet the
# same machine load: Start on FILE, a folder harvest of DIR, the details of
# FILE's icon with the most images, saving all of DIR's tiles into a fresh
# folder, and Ctrl+A with the tile menu on 100 000 tiles.
#
#   bench/compare-window-builds.sh OLD_BUILD NEW_BUILD FILE DIR [ROUNDS]
#
# The builds are build folders with the benchmarks
# (-DORVU_BUILD_BENCHMARKS=ON); DIR a tree from `orvu-window-bench
# make-tree`. Each line of output starts with the build it came from.
set -euo pipefail
old=$1 new=$2 file=$3 dir=$4 rounds=${5:-3}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

run() {
    local label=$1 build=$2
    shift 2
    "$build/bench/orvu-window-bench" "$@" 2>/dev/null | sed "s/^/$label: /"
}

for benchmark in start scan details save-all select-all; do
    for ((round = 1; round <= rounds; round++)); do
        for side in old new; do
            build=$old
            [ "$side" = new ] && build=$new
            case $benchmark in
                start) run "$side" "$build" start "$file" --repeat 10 ;;
                scan) run "$side" "$build" scan "$dir" ;;
                details) run "$side" "$build" details "$file" ;;
                save-all)
                    rm -rf "${out:?}/$side"
                    run "$side" "$build" save-all "$dir" "$out/$side"
                    ;;
                select-all) run "$side" "$build" select-all 100000 ;;
            esac
        done
    done
done
