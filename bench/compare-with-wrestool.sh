#!/usr/bin/env bash
# Times the window's folder harvest of every file in DIR, without a window
# (`orvu-harvest-bench scan DIR --pattern '*' --repeat 1`, a whole process a
# run), against icoutils' `wrestool -x -t14 -o OUT DIR/*` over the same
# folder, taking turns, and prints the best and median of each and their ratio.
#   compare-with-wrestool.sh DIR [RUNS] [BENCH]
# RUNS defaults to 15; BENCH to build/bench/orvu-harvest-bench. wrestool runs
# at most 5 times: it takes about half a second a run.
set -euo pipefail
source "$(dirname "$0")/timing.sh"

folder=${1:?usage: compare-with-wrestool.sh DIR [RUNS] [BENCH]}
runs=${2:-15}
bench=${3:-build/bench/orvu-harvest-bench}
command -v wrestool >/dev/null || { echo "wrestool is missing (Debian package icoutils)" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
files=("$folder"/*)


ours=()
theirs=()
for ((i = 0; i < runs; ++i)); do
    ours+=("$(microseconds "$bench" scan "$folder" --pattern '*' --repeat 1)")
    if ((i < 5)); then
        rm -rf "${out:?}"/*
        theirs+=("$(microseconds wrestool -x -t14 -o "$out" "${files[@]}")")
    fi
done

read -r ours_best ours_median < <(printf '%s\n' "${ours[@]}" | summary)
read -r theirs_best theirs_median < <(printf '%s\n' "${theirs[@]}" | summary)
echo "folder harvest:   best $ours_best ms, median $ours_median ms (${#ours[@]} runs)"
echo "wrestool -x -t14: best $theirs_best ms, median $theirs_median ms (${#theirs[@]} runs)"
awk -v a="$ours_median" -v b="$theirs_median" 'BEGIN { printf "ratio of medians: 1/%.0f\n", b / a }'
