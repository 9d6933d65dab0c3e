#!/usr/bin/env bash
# Times, taking turns, `extract` of one icon as an .ico file against
# `extract --hicolor` of the same icon (a PNG a theme size, each the picture
# Windows shows there), and prints the best and median of each and their
# ratio.
#   compare-icon-set.sh FILE [ICON] [RUNS] [CLI]
# ICON defaults to 1, RUNS to 30, CLI to build/orvu-icons-cli. The output
# folders are made below ORVU_BENCH_TMP (default /dev/shm where it is a tmpfs).
set -euo pipefail
source "$(dirname "$0")/timing.sh"

file=${1:?usage: compare-icon-set.sh FILE [ICON] [RUNS] [CLI]}
icon=${2:-1}
runs=${3:-30}
cli=${4:-build/orvu-icons-cli}

parent=${ORVU_BENCH_TMP:-}
if [ -z "$parent" ]; then
    parent=/tmp
    [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ] && [ -w /dev/shm ] && parent=/dev/shm
fi
out=$(mktemp -d "$parent/orvu-icon-set-bench.XXXXXX")
trap 'rm -rf "$out"' EXIT
mkdir "$out/ico"

ico=() set=()
for ((i = 0; i < runs; ++i)); do
    ico+=("$(microseconds "$cli" extract --force --icon "$icon" -o "$out/ico" "$file")")
    set+=("$(microseconds "$cli" extract --force --icon "$icon" --hicolor "$out/theme" "$file")")
done
read -r icoBest icoMedian < <(printf '%s\n' "${ico[@]}" | summary)
read -r setBest setMedian < <(printf '%s\n' "${set[@]}" | summary)
echo "extract (.ico):     best $icoBest ms, median $icoMedian ms"
echo "extract --hicolor:  best $setBest ms, median $setMedian ms ($(find "$out/theme" -type f | wc -l) PNG files)"
awk -v i="$icoMedian" -v s="$setMedian" 'BEGIN { printf "ratio of the medians: %.2f\n", s / i }'
