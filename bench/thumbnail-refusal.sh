#!/usr/bin/env bash
# Times what a file manager pays when it offers the thumbnailer a file that
# is no Windows program (a Linux shared library, which the thumbnailer entry
# takes as application/x-sharedlib for the sake of *.dll files), taking turns
# with the least any process costs (/bin/true) and with a real thumbnail;
# prints the best and median of each and the refusal's median against the
# other two.
#   thumbnail-refusal.sh LIBRARY PROGRAM
# RUNS (default 51) sets the runs of each, CLI the tool
# (default build/orvu-icons-cli).
set -euo pipefail
source "$(dirname "$0")/timing.sh"

[ $# -eq 2 ] || { echo "usage: thumbnail-refusal.sh LIBRARY PROGRAM" >&2; exit 2; }
runs=${RUNS:-51}
cli=${CLI:-build/orvu-icons-cli}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

if "$cli" thumbnail "$1" "$out/t.png" 2>/dev/null; then
    echo "$1: the thumbnailer made a thumbnail of it" >&2
    exit 1
fi
floor=()
refused=()
made=()
for ((i = 0; i < runs; ++i)); do
    floor+=("$(microseconds /bin/true)")
    refused+=("$(microseconds "$cli" thumbnail -s 256 "$1" "$out/t.png")")
    made+=("$(microseconds "$cli" thumbnail -s 256 "$2" "$out/t.png")")
done
read -r floor_best floor_median < <(printf '%s\n' "${floor[@]}" | summary)
read -r refused_best refused_median < <(printf '%s\n' "${refused[@]}" | summary)
read -r made_best made_median < <(printf '%s\n' "${made[@]}" | summary)
echo "$runs runs each:"
echo "  /bin/true:                     best $floor_best ms, median $floor_median ms"
echo "  refusing $(basename "$1"):  best $refused_best ms, median $refused_median ms"
echo "  thumbnail of $(basename "$2"): best $made_best ms, median $made_median ms"
awk -v r="$refused_median" -v f="$floor_median" -v m="$made_median" \
    'BEGIN { printf "  refusal / true: %.2f, refusal / thumbnail: %.2f\n", r / f, r / m }'
