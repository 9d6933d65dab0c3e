#!/usr/bin/env bash
# Compares our reader with the Windows API on a set of files:
#   compare-with-windows.sh corpus|generated|program --work DIR --wine-run SCRIPT --prefix DIR
#       --cross BUILD --native-cli PROGRAM --compare PROGRAM --generator PROGRAM
#       --known TSV --reference DIR [--corpus DIR] [--native-lacks-png] [--size N]
#       [--kind cursor|animated]
#
# corpus     every file of the corpus's Wine x86_64-windows folder and of usr/share/nsis;
#            first, Windows must reproduce the stored reference answers
#            (tests/data/reference), which shows that this Wine answers as
#            the one that made them
# generated  the files that orvu_icon_cases writes
# program    orvu_resources_stub.exe of the Windows build, which carries the
#            program's own icon (resources/orvu-icons.rc): it must have one
#
# icon_oracle.exe (the Windows API) and the cross-built orvu-icons-cli.exe run
# under Wine, the native orvu-icons-cli directly; then orvu_compare_cells
# checks Windows against the cross build (counts, unscaled cells, the table of
# known differences) and the cross build against the native one (the same
# lines). With --size N every icon is drawn at N x N instead of 32 x 32 (the
# stored reference answers, which are at 32, are then not checked). With
# --kind the files' cursors (or animated cursors) are compared instead, each
# with its hotspot, and `generated` is the set orvu_icon_cases --cursors
# writes. Exit code
# 77 (skipped) when the corpus is missing.
set -euo pipefail

set_name=${1:-}
shift || true
native_lacks_png=0
size=32
kind=icon
corpus=$HOME/.cache/orvu-icons/corpus
while [ $# -gt 0 ]; do
    case $1 in
    --work) work=$2; shift 2 ;;
    --wine-run) wine_run=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --cross) cross=$2; shift 2 ;;
    --native-cli) native_cli=$2; shift 2 ;;
    --compare) compare=$2; shift 2 ;;
    --generator) generator=$2; shift 2 ;;
    --known) known=$2; shift 2 ;;
    --reference) reference=$2; shift 2 ;;
    --corpus) corpus=$2; shift 2 ;;
    --native-lacks-png) native_lacks_png=1; shift ;;
    --size) size=$2; shift 2 ;;
    --kind) kind=$2; shift 2 ;;
    *) echo "compare-with-windows.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

rm -rf "$work"
mkdir -p "$work"
case $set_name in
corpus)
    wine_dir=$corpus/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
    nsis_dir=$corpus/usr/share/nsis
    if [ ! -d "$wine_dir" ] || [ ! -d "$nsis_dir" ]; then
        echo "no corpus in $corpus: run scripts/fetch-corpus.sh"
        exit 77
    fi
    roots=(--root "$wine_dir=wine" --root "$nsis_dir=nsis")
    find "$wine_dir" "$nsis_dir" -type f | LC_ALL=C sort >"$work/files"
    ;;
generated)
    if [ "$kind" = icon ]; then
        "$generator" "$work/cases"
    else
        "$generator" --cursors "$work/cases"
    fi
    roots=(--root "$work/cases=generated")
    find "$work/cases" -type f | LC_ALL=C sort >"$work/files"
    ;;
program)
    roots=(--root "$cross/tests=program")
    echo "$cross/tests/orvu_resources_stub.exe" >"$work/files"
    ;;
*)
    echo "usage: compare-with-windows.sh corpus|generated|program --work DIR ..." >&2
    exit 2
    ;;
esac
echo "$(wc -l <"$work/files") files"

# Runs a program on all files, in batches that fit a Windows command line.
status=0
on_all_files() {
    local out=$1 start=$SECONDS
    shift
    if ! xargs -d '\n' -s 20000 "$@" <"$work/files" >"$out"; then
        echo "FAIL $* stopped with an error"
        status=1
    fi
    echo "  $(basename "$out"): $((SECONDS - start)) s"
}
cell_options=()
[ "$kind" != icon ] && cell_options=(--kind "$kind")
[ "$size" != 32 ] && cell_options+=(--size "$size")
oracle=("$wine_run" "$prefix" "$cross/tests/icon_oracle.exe")
on_all_files "$work/windows-cells.txt" "${oracle[@]}" cells "${cell_options[@]}"
on_all_files "$work/windows-sizes.txt" "${oracle[@]}" sizes "${cell_options[@]}"
on_all_files "$work/cross-cells.txt" "$wine_run" "$prefix" "$cross/orvu-icons-cli.exe" cells \
    "${cell_options[@]}"
on_all_files "$work/native-cells.txt" "$native_cli" cells "${cell_options[@]}"

if [ "$set_name" = program ] && ! grep -q -P '\t1\t[0-9a-f]{6144}$' "$work/windows-cells.txt"; then
    echo "FAIL Windows finds no icon, or more than one, in the program's resources"
    status=1
fi

if [ "$set_name" = corpus ] && [ "$size" = 32 ] && [ "$kind" = icon ]; then
    echo "== this Windows API against the stored reference answers =="
    for tsv in "$reference"/*.tsv; do
        "$compare" reference --windows "$work/windows-cells.txt" --reference "$tsv" \
            "${roots[@]}" || status=1
    done
fi

kind_flag=()
[ "$kind" != icon ] && kind_flag=(--kind "$kind")
echo "== Windows API against the Windows build of our reader =="
"$compare" windows --windows "$work/windows-cells.txt" --sizes "$work/windows-sizes.txt" \
    --ours "$work/cross-cells.txt" --known "$known" "${roots[@]}" --size "$size" "${kind_flag[@]}" || status=1

echo "== the native build against the Windows build =="
png_flag=()
[ "$native_lacks_png" = 1 ] && png_flag=(--first-lacks-png)
"$compare" builds --first "$work/native-cells.txt" --second "$work/cross-cells.txt" \
    "${roots[@]}" "${png_flag[@]}" --size "$size" "${kind_flag[@]}" || status=1
exit $status
