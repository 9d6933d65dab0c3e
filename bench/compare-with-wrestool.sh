#!/usr/bin/env bash
# Times the whole `orvu-icons-cli scan DIR --pattern '*'` process against
# icoutils' `wrestool -x -t14 -o OUT DIR/*` over the same folder, taking
# turns, and prints the best and median of each and their ratio.
#   compare-with-wrestool.sh DIR [RUNS] [CLI]
# RUNS defaults to 15; CLI to build/orvu-icons-cli. wrestool runs at most 5
# times: it takes about half a second a run.
set -euo pipefail
source "$(dirname "$0")/timing.sh"

folder=${1:?usage: compare-with-wrestool.sh DIR [RUNS] [CLI]}
runs=${2:-15}
cli=${3:-build/orvu-icons-cli}
command -v wrestool >/dev/null || { echo "wrestool is missing (Debian package icoutils)" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
files=("$folder"/*)


ours=()
theirs=()
for ((i = 0; i < runs; ++i)); do
    ours+=("$(microseconds "$cli" scan "$folder" --pattern '*')")
    if ((i < 5)); then
        rm -rf "${out:?}"/*
        theirs+=("$(microseconds wrestool -x -t14 -o "$out" "${files[@]}")")
    fi
done

read -r ours_best ours_median < <(printf '%s\n' "${ours[@]}" | summary)
read -r theirs_best theirs_median < <(printf '%s\n' "${theirs[@]}" | summary)
echo "orvu-icons-cli scan: best $ours_best ms, median $ours_median ms (${#ours[@]} runs)"
echo "wrestool -x -t14:    best $theirs_best ms, median $theirs_median ms (${#theirs[@]} runs)"
awk -v a="$ours_median" -v b="$theirs_median" 'BEGIN { printf "ratio of medians: 1/%.0f\n", b / a }'
