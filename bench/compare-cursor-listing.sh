#!/usr/bin/env bash
# Times, taking turns over the same folder, `extract` of icons alone by a
# build without cursors (BASELINE) against this build's `list` and
# `extract --kind all` (icons, cursors and animated cursors), and prints the
# best and median of each and the medians' ratios to the baseline's.
#   compare-cursor-listing.sh DIR BASELINE [RUNS] [CLI]
# RUNS defaults to 15; CLI to build/orvu-icons-cli. The output folders are
# made below ORVU_BENCH_TMP (default /dev/shm where it is a tmpfs).
set -euo pipefail
source "$(dirname "$0")/timing.sh"

folder=${1:?usage: compare-cursor-listing.sh DIR BASELINE [RUNS] [CLI]}
baseline=${2:?usage: compare-cursor-listing.sh DIR BASELINE [RUNS] [CLI]}
runs=${3:-15}
cli=${4:-build/orvu-icons-cli}

parent=${ORVU_BENCH_TMP:-}
if [ -z "$parent" ]; then
    parent=/tmp
    [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ] && [ -w /dev/shm ] && parent=/dev/shm
fi
out=$(mktemp -d "$parent/orvu-cursor-bench.XXXXXX")
trap 'rm -rf "$out"' EXIT

old=() list=() all=()
for ((i = 0; i < runs; ++i)); do
    mkdir "$out/old-$i" "$out/all-$i"
    old+=("$(microseconds "$baseline" extract -o "$out/old-$i" --pattern '*' "$folder")")
    list+=("$(microseconds "$cli" list --pattern '*' "$folder")")
    all+=("$(microseconds "$cli" extract --kind all -o "$out/all-$i" --pattern '*' "$folder")")
    rm -rf "$out/old-$i" "$out/all-$i"
done
read -r oldBest oldMedian < <(printf '%s\n' "${old[@]}" | summary)
read -r listBest listMedian < <(printf '%s\n' "${list[@]}" | summary)
read -r allBest allMedian < <(printf '%s\n' "${all[@]}" | summary)
echo "extract (icons, baseline):  best $oldBest ms, median $oldMedian ms"
echo "list:                       best $listBest ms, median $listMedian ms"
echo "extract --kind all:         best $allBest ms, median $allMedian ms"
awk -v o="$oldMedian" -v l="$listMedian" -v a="$allMedian" \
    'BEGIN { printf "ratio to baseline: list %.2f, extract --kind all %.2f\n", l / o, a / o }'
