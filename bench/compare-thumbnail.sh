#!/usr/bin/env bash
# Times the whole `orvu-icons-cli thumbnail -s 256 FILE OUT.png` process
# against `icoextract FILE OUT.ico` (Debian package icoextract), which
# extracts the same file's first icon, taking turns, and prints for each file
# the best and median of each, the ratio of the medians, and the thumbnailer's
# peak memory (GNU time's maximum resident set size).
#   compare-thumbnail.sh FILE...
# RUNS (default 21) sets the runs of each tool, CLI the tool
# (default build/orvu-icons-cli), SIZE the thumbnail size (default 256).
set -euo pipefail
source "$(dirname "$0")/timing.sh"

[ $# -ge 1 ] || { echo "usage: compare-thumbnail.sh FILE..." >&2; exit 2; }
runs=${RUNS:-21}
cli=${CLI:-build/orvu-icons-cli}
size=${SIZE:-256}
command -v icoextract >/dev/null || { echo "icoextract is missing (Debian package icoextract)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT



for file in "$@"; do
    ours=()
    theirs=()
    for ((i = 0; i < runs; ++i)); do
        ours+=("$(microseconds "$cli" thumbnail -s "$size" "$file" "$out/thumbnail.png")")
        theirs+=("$(microseconds icoextract "$file" "$out/icon.ico")")
    done
    "$cli" thumbnail -s "$size" "$file" "$out/thumbnail.png" ||
        { echo "$file: no thumbnail" >&2; continue; }
    peak=$(/usr/bin/time -f %M "$cli" thumbnail -s "$size" "$file" "$out/thumbnail.png" 2>&1 >/dev/null)
    read -r ours_best ours_median < <(printf '%s\n' "${ours[@]}" | summary)
    read -r theirs_best theirs_median < <(printf '%s\n' "${theirs[@]}" | summary)
    megabytes=$(stat -c %s "$file" | awk '{ printf "%.1f", $1 / 1000000 }')
    echo "$(basename "$file") ($megabytes MB), $runs runs each:"
    echo "  orvu-icons-cli thumbnail -s $size: best $ours_best ms, median $ours_median ms, peak memory $((peak / 1024)).$((peak % 1024 * 10 / 1024)) MB"
    echo "  icoextract:                    best $theirs_best ms, median $theirs_median ms"
    awk -v a="$ours_median" -v b="$theirs_median" 'BEGIN { printf "  ratio of medians: 1/%.0f\n", b / a }'
done
