#!/usr/bin/env bash
# check-exports.sh LIBRARY HEADER SYMBOLS
# The shared library exports exactly the functions its header declares, each
# under the symbol version ORVU_ICONS_1, and is named liborvu-icons.so.1; the
# Debian symbols file SYMBOLS lists exactly those functions.
set -uo pipefail

library=$1
header=$2
symbols=$3
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

declared=$(grep '^ORVU_ICONS_API' "$header" | grep -o 'orvu_icons_[a-z_]*(' | tr -d '(' | sort)
exported=$(nm -D --defined-only "$library" | awk '$2 != "A" { print $3 }' | sort)
expected=$(sed 's/$/@@ORVU_ICONS_1/' <<<"$declared")
if [ "$exported" != "$expected" ]; then
    fail "the exported symbols differ from the header's functions:"
    diff <(echo "$expected") <(echo "$exported") >&2
fi
listed=$(awk '$1 ~ /^orvu_icons_/ { sub(/@.*/, "", $1); print $1 }' "$symbols" | sort)
if [ "$listed" != "$declared" ]; then
    fail "$symbols differs from the header's functions:"
    diff <(echo "$declared") <(echo "$listed") >&2
fi
[ "$(wc -l <<<"$declared")" -ge 20 ] || fail "too few functions found in $header"

soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
[ "$soname" = liborvu-icons.so.1 ] || fail "SONAME is '$soname'"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "$(wc -l <<<"$declared") functions exported under ORVU_ICONS_1, SONAME $soname"
