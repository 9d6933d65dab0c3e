#!/usr/bin/env bash
# The peak memory (GNU time's maximum resident set size) of
# `orvu-icons-cli list --json` over one file of a tree and over the whole
# tree: the list is written file by file, so the whole tree should take
# hardly more than one file.
#   list-memory.sh TREE [CLI]
# Make a tree of 10 000 files with
#   build/bench/orvu-window-bench make-tree /tmp/tree 10000
set -euo pipefail

tree=${1:?usage: list-memory.sh TREE [CLI]}
cli=${2:-build/orvu-icons-cli}
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)" >&2; exit 1; }

file=$(find "$tree" -type f -iname '*.exe' -print -quit)
files=$(find "$tree" -type f | wc -l)
# Peak kilobytes of one run, and the lines it printed.
measure() {
    local lines
    lines=$(/usr/bin/time -o "$out" -f %M "$cli" list --json "$@" 2>/dev/null | wc -l)
    echo "$(cat "$out") $lines"
}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
read -r one one_lines < <(measure "$file")
read -r all all_lines < <(measure --pattern '*' "$tree")
echo "list --json of one file: peak $one KB ($one_lines line)"
echo "list --json of $files files: peak $all KB ($all_lines lines)"
echo "the whole tree takes $((all - one)) KB more than one file"
