#!/usr/bin/env bash
# Times `orvu-icons-cli extract` of COUNT files all named setup.exe (links
# to FILE, one icon each, in folders of their own) into a folder that
# already holds the names they would take: setup_1.ico, setup_1-2.ico, …,
# setup_1-COUNT.ico. Every file's icon needs a counter past all of those and
# past the run's own earlier names. Each CLI given runs in turn, RUNS times,
# each run into a fresh copy of the crowded folder; prints the best and
# median of each.
#   crowded-folder.sh FILE [COUNT] [RUNS] [CLI...]
# COUNT defaults to 5000, RUNS to 3, CLI to build/orvu-icons-cli.
set -euo pipefail
source "$(dirname "$0")/timing.sh"

file=${1:?usage: crowded-folder.sh FILE [COUNT] [RUNS] [CLI...]}
count=${2:-5000}
runs=${3:-3}
shift $(($# < 3 ? $# : 3))
clis=("$@")
[ ${#clis[@]} -gt 0 ] || clis=(build/orvu-icons-cli)

work=$(mktemp -d "${ORVU_BENCH_TMP:-/tmp}/orvu-crowded.XXXXXX")
trap 'rm -rf "$work"' EXIT
for ((i = 1; i <= count; ++i)); do
    mkdir -p "$work/tree/$i"
    ln -s "$(realpath "$file")" "$work/tree/$i/setup.exe"
done
mkdir "$work/crowded"
touch "$work/crowded/setup_1.ico"
for ((i = 2; i <= count; ++i)); do
    : >"$work/crowded/setup_1-$i.ico"
done

for cli in "${clis[@]}"; do
    times=()
    for ((run = 0; run < runs; ++run)); do
        rm -rf "$work/out"
        cp -r "$work/crowded" "$work/out"
        times+=("$(microseconds "$cli" extract -o "$work/out" "$work/tree")")
    done
    written=$(find "$work/out" -name 'setup_1-*.ico' -size +0 | wc -l)
    read -r best median < <(printf '%s\n' "${times[@]}" | summary)
    echo "$cli: best $best ms, median $median ms ($runs runs, $written files written)"
done
