#!/usr/bin/env bash
# Times, taking turns over the same folder, `list --json` against
# `list --json --fingerprints` (which reads every image, hashes each icon's
# file and each image, draws each icon at 32 x 32 and reads each file's first
# icon as the sandboxes do), and prints the best and median of each, their
# ratio and each one's peak memory.
#   compare-fingerprints.sh DIR [RUNS] [CLI]
# RUNS defaults to 15; CLI to build/orvu-icons-cli.
set -euo pipefail
source "$(dirname "$0")/timing.sh"

folder=${1:?usage: compare-fingerprints.sh DIR [RUNS] [CLI]}
runs=${2:-15}
cli=${3:-build/orvu-icons-cli}
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)" >&2; exit 1; }

plain=() fingerprints=()
for ((i = 0; i < runs; ++i)); do
    plain+=("$(microseconds "$cli" list --json --pattern '*' "$folder")")
    fingerprints+=("$(microseconds "$cli" list --json --fingerprints --pattern '*' "$folder")")
done
peak() { /usr/bin/time -f %M "$cli" list --json "$@" --pattern '*' "$folder" 2>&1 >/dev/null | tail -n 1; }
read -r plainBest plainMedian < <(printf '%s\n' "${plain[@]}" | summary)
read -r printsBest printsMedian < <(printf '%s\n' "${fingerprints[@]}" | summary)
echo "list --json:                best $plainBest ms, median $plainMedian ms, peak $(peak) KB"
echo "list --json --fingerprints: best $printsBest ms, median $printsMedian ms, peak $(peak --fingerprints) KB"
awk -v p="$plainMedian" -v f="$printsMedian" 'BEGIN { printf "ratio of the medians: %.2f\n", f / p }'
