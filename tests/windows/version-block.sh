#!/usr/bin/env bash
# The program's version block as Windows reads it:
#   version-block.sh --rc FILE --wine-run SCRIPT --prefix DIR --cross BUILD
# Runs orvu_resources_stub.exe (built with resources/orvu-icons.rc) under
# Wine and checks that every VALUE of the script's string table, the
# translation and the fixed versions come back as written, in UTF-8: the
# Chinese names survive the resource compiler.
set -euo pipefail

while [ $# -gt 0 ]; do
    case $1 in
    --rc) rc=$2; shift 2 ;;
    --wine-run) wine_run=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --cross) cross=$2; shift 2 ;;
    *) echo "version-block.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

expected=$(
    sed -n 's/^ *VALUE *"\([A-Za-z]*\)", *"\(.*\)" *$/\1=\2/p' "$rc"
    sed -n 's/^ *VALUE *"Translation", *0x\([0-9a-fA-F]*\), *\([0-9]*\) *$/Translation=\1 \2/p' "$rc"
    sed -n 's/^FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/FixedFileVersion=\1.\2.\3.\4/p' "$rc"
    sed -n 's/^PRODUCTVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/FixedProductVersion=\1.\2.\3.\4/p' "$rc"
)
expected=$(printf '%s\n' "$expected" | LC_ALL=C sort)
if [ "$(printf '%s\n' "$expected" | wc -l)" -lt 5 ]; then
    echo "FAIL found too few version values in $rc"
    exit 1
fi
actual=$("$wine_run" "$prefix" "$cross/tests/orvu_resources_stub.exe" | tr -d '\r' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    echo "FAIL the version block differs from $rc"
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") || true
    exit 1
fi
printf '%s\n' "$actual"
echo "the version block reads as written"
