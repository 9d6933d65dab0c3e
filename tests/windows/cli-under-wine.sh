#!/usr/bin/env bash
# orvu-icons-cli.exe under Wine, where Windows differs from other systems:
#   cli-under-wine.sh --work DIR --wine-run SCRIPT --prefix DIR --cross BUILD
#                     --native-cli PROGRAM --generator PROGRAM
# 1. File and folder names outside the ANSI code page, with spaces: `cells`
#    reads them and prints them back as UTF-8, with the native build's cells.
# 2. `list` of a folder, and of folder links that form a cycle (Unix links,
#    which Wine shows as plain folders): each folder is listed once, the walk
#    ends, and it finds what the native build finds.
# 3. `list --json`, `extract` and `thumbnail` (PNG through WIC): the same
#    listing and the same .ico bytes as the native build, and a thumbnail of
#    the size asked for, written in place over an existing output and never
#    over its input.
set -euo pipefail

while [ $# -gt 0 ]; do
    case $1 in
    --work) work=$2; shift 2 ;;
    --wine-run) wine_run=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --cross) cross=$2; shift 2 ;;
    --native-cli) native_cli=$2; shift 2 ;;
    --generator) generator=$2; shift 2 ;;
    *) echo "cli-under-wine.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
cli=$cross/orvu-icons-cli.exe
wine_cli() { timeout 120 "$wine_run" "$prefix" "$cli" "$@"; }

rm -rf "$work"
mkdir -p "$work"
"$generator" "$work/cases" >/dev/null
failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
# `list` under Wine, with the separator that Windows puts into the paths it
# found in a folder written as the native build writes it.
wine_list() { wine_cli list "$@" | tr -d '\r' | tr '\\' /; }
# What `list` found, in short: "N files, M icons".
found() { awk '/^[^ ]/ { ++files } /^  #/ { ++icons } END { printf "%d files, %d icons", files, icons }'; }

echo "== names outside the ANSI code page =="
folder="$work/图标 文件夹 ä"
mkdir -p "$folder"
file="$folder/程序 ☃.exe"
cp "$work/cases/usual-set.exe" "$file"
cp "$work/cases/named-groups.exe" "$folder/Ünïcode.EXE"
wine_cli cells "$file" "$folder/Ünïcode.EXE" >"$work/cross.txt" || fail "cells stopped with an error"
"$native_cli" cells "$file" "$folder/Ünïcode.EXE" >"$work/native.txt"
if cmp -s "$work/cross.txt" "$work/native.txt"; then
    echo "cells: the same bytes as the native build"
else
    fail "cells: the lines differ from the native build's"
    cut -c 1-120 "$work/cross.txt" "$work/native.txt"
fi
if ! head -n 1 "$work/cross.txt" | grep -q -F "$file"$'\t'"1"$'\t'; then
    fail "cells: the first line doesn't start with the path in UTF-8 and one icon"
fi
expected_list=$("$native_cli" list "$folder")
actual_list=$(wine_list "$folder") || fail "list of $folder stopped with an error"
if [ "$actual_list" = "$expected_list" ] && [ "$(found <<<"$expected_list")" = "2 files, 5 icons" ]; then
    echo "list: $(found <<<"$actual_list")"
else
    fail "list of $folder: '$actual_list', the native build says '$expected_list'"
fi

echo "== folder links that form a cycle =="
tree=$work/tree
mkdir -p "$tree/a/b" "$tree/c"
cp "$work/cases/usual-set.exe" "$tree/a/one.exe"
cp "$work/cases/many-groups.exe" "$tree/a/b/two.EXE"
cp "$work/cases/pe32.exe" "$tree/c/three.exe"
ln -s "$tree" "$tree/a/b/back-to-top"
ln -s "$tree/a" "$tree/again"
ln -s ../a "$tree/c/sideways"
expected_list=$("$native_cli" list "$tree")
actual_list=$(wine_list "$tree") ||
    fail "list over links stopped with an error (or ran out of time)"
if [ "$actual_list" = "$expected_list" ] && [ "$(found <<<"$expected_list")" = "3 files, 15 icons" ]; then
    echo "list: $(found <<<"$actual_list")"
else
    fail "list over links: '$actual_list', the native build says '$expected_list'"
fi

echo "== list, extract and thumbnail =="
set_folder=$work/set
mkdir -p "$set_folder/native" "$set_folder/cross"
cp "$work/cases/usual-set.exe" "$work/cases/named-groups.exe" "$set_folder/"
for file in usual-set.exe named-groups.exe; do
    expected=$("$native_cli" list --json "$set_folder/$file")
    actual=$(wine_cli list --json "$set_folder/$file" | tr -d '\r') || fail "list of $file stopped with an error"
    [ "$actual" = "$expected" ] || fail "list --json of $file: '$actual', the native build says '$expected'"
done
"$native_cli" extract -o "$set_folder/native" "$set_folder"/*.exe >/dev/null
wine_cli extract -o "$set_folder/cross" "$set_folder"/*.exe >/dev/null || fail "extract stopped with an error"
if diff -r "$set_folder/native" "$set_folder/cross" >/dev/null; then
    echo "extract: $(ls "$set_folder/cross" | wc -l) .ico files, the same bytes as the native build's"
else
    fail "extract: the files differ from the native build's"
fi
wine_cli thumbnail -s 16 "$set_folder/usual-set.exe" "$set_folder/thumb.png" || fail "thumbnail stopped with an error"
if file "$set_folder/thumb.png" | grep -q "PNG image data, 16 x 16"; then
    echo "thumbnail: a 16 x 16 PNG"
else
    fail "thumbnail: $(file "$set_folder/thumb.png")"
fi
# An output that exists is written in place; the input is never written over.
inode=$(stat -c %i "$set_folder/thumb.png")
wine_cli thumbnail -s 16 "$set_folder/usual-set.exe" "$set_folder/thumb.png" ||
    fail "thumbnail over an existing output stopped with an error"
if [ "$(stat -c %i "$set_folder/thumb.png")" = "$inode" ] &&
    file "$set_folder/thumb.png" | grep -q "PNG image data, 16 x 16"; then
    echo "thumbnail: an existing output written in place"
else
    fail "thumbnail: an existing output was replaced, not written in place"
fi
cp "$set_folder/usual-set.exe" "$set_folder/input.exe"
if wine_cli thumbnail "$set_folder/input.exe" "$set_folder/input.exe" 2>/dev/null; then
    fail "thumbnail onto its own input succeeded"
fi
cmp -s "$set_folder/input.exe" "$set_folder/usual-set.exe" || fail "thumbnail wrote over its input"

[ $failures -eq 0 ] && echo "orvu-icons-cli.exe behaves under Wine as on Linux"
exit $((failures > 0))
