#!/usr/bin/env bash
# Times the whole `orvu-icons-cli extract -o OUT --pattern '*' DIR` process
# against icoutils' `wrestool -x -t14 -o OUT DIR/*` over the same folder,
# taking turns, and prints the best and median of each and their ratio. Then
# checks that every .ico written holds the bytes wrestool writes for the same
# group: wrestool's file is as long again as the group resource (6 + 14 bytes
# per image) past the last image, bytes no reader looks at; everything before
# them must be the same.
#   compare-extract-with-wrestool.sh DIR [RUNS] [CLI]
# RUNS defaults to 15; CLI to build/orvu-icons-cli. wrestool runs at most 5
# times: it takes about half a second a run. Every run writes into a folder
# of its own, all removed at the end: a run that deletes files makes the next
# one's new files slower to create on some file systems (ext4). The folders
# are made below ORVU_BENCH_TMP, by default /dev/shm where it is a tmpfs, so
# that both tools are timed rather than the disk; set ORVU_BENCH_TMP=/tmp to
# time the disk too.
set -euo pipefail
source "$(dirname "$0")/timing.sh"

folder=${1:?usage: compare-extract-with-wrestool.sh DIR [RUNS] [CLI]}
runs=${2:-15}
cli=${3:-build/orvu-icons-cli}
command -v wrestool >/dev/null || { echo "wrestool is missing (Debian package icoutils)" >&2; exit 1; }
command -v python3 >/dev/null || { echo "python3 is missing" >&2; exit 1; }

parent=${ORVU_BENCH_TMP:-}
if [ -z "$parent" ]; then
    parent=/tmp
    [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ] && [ -w /dev/shm ] && parent=/dev/shm
fi
out=$(mktemp -d "$parent/orvu-extract-bench.XXXXXX")
trap 'rm -rf "$out"' EXIT
files=("$folder"/*)


ours=()
theirs=()
for ((i = 0; i < runs; ++i)); do
    mkdir "$out/ours-$i"
    ours+=("$(microseconds "$cli" extract -o "$out/ours-$i" --pattern '*' "$folder")")
    if ((i < 5)); then
        mkdir "$out/wrestool-$i"
        theirs+=("$(microseconds wrestool -x -t14 -o "$out/wrestool-$i" "${files[@]}")")
    fi
done

read -r ours_best ours_median < <(printf '%s\n' "${ours[@]}" | summary)
read -r theirs_best theirs_median < <(printf '%s\n' "${theirs[@]}" | summary)
echo "output below $parent ($(stat -f -c %T "$parent"))"
echo "orvu-icons-cli extract: best $ours_best ms, median $ours_median ms (${#ours[@]} runs)"
echo "wrestool -x -t14:       best $theirs_best ms, median $theirs_median ms (${#theirs[@]} runs)"
awk -v a="$ours_median" -v b="$theirs_median" 'BEGIN { printf "ratio of medians: 1/%.0f\n", b / a }'

# The bytes: each icon's position gives its resource id or name and language
# (list --json), which name wrestool's file.
"$cli" list --json --pattern '*' "$folder" 2>/dev/null |
    python3 -c '
import json, os, sys
ours, theirs = sys.argv[1], sys.argv[2]
same = differ = 0
for line in sys.stdin:
    record = json.loads(line)
    name = os.path.basename(record["path"])
    stem = os.path.splitext(name)[0]
    for icon in record["icons"]:
        resource = icon["id"] if icon["id"] is not None else icon["name"]
        mine = open(os.path.join(ours, "%s_%d.ico" % (stem, icon["position"])), "rb").read()
        path = os.path.join(theirs, "%s_14_%s_%s.ico" % (name, resource, icon["language"]))
        wrestool = open(path, "rb").read()
        tail = 6 + 14 * len(icon["images"])
        if wrestool[:len(mine)] == mine and len(wrestool) == len(mine) + tail:
            same += 1
        else:
            differ += 1
            print("differs:", name, "icon", icon["position"])
written = len(os.listdir(ours))
print("%d .ico files written, %d hold what wrestool writes, %d differ" % (written, same, differ))
sys.exit(0 if differ == 0 and same == written else 1)
' "$out/ours-0" "$out/wrestool-0"
