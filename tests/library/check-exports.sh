#!/usr/bin/env bash
# check-exports.sh LIBRARY HEADER SYMBOLS
# The shared library exports exactly the functions its header declares, and
# is named liborvu-icons.so.1; the Debian symbols file SYMBOLS lists exactly
# those functions, each under the symbol version the library exports it
# with: ORVU_ICONS_1 for the first ones, ORVU_ICONS_1.1 for those the header
# says came "Since 1.1", and so on.
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
# Each function with the version its comment names ("Since 1.1."), or 1.
versioned=$(awk '
    /\/\*/ { since = "" }
    /Since [0-9.]*[0-9]/ { match($0, /Since [0-9.]*[0-9]/); since = substr($0, RSTART + 6, RLENGTH - 6) }
    /^ORVU_ICONS_API/ {
        if (match($0, /orvu_icons_[a-z_]*\(/))
            print substr($0, RSTART, RLENGTH - 1) "@ORVU_ICONS_" (since == "" ? "1" : since)
        since = ""
    }' "$header" | sort)
exported=$(nm -D --defined-only "$library" | awk '$2 != "A" { sub(/@@/, "@", $3); print $3 }' | sort)
if [ "$exported" != "$versioned" ]; then
    fail "the exported symbols differ from the header's functions and their versions:"
    diff <(echo "$versioned") <(echo "$exported") >&2
fi
listed=$(awk '$1 ~ /^orvu_icons_/ { print $1 }' "$symbols" | sort)
if [ "$listed" != "$versioned" ]; then
    fail "$symbols differs from the header's functions and their versions:"
    diff <(echo "$versioned") <(echo "$listed") >&2
fi
[ "$(wc -l <<<"$declared")" -ge 20 ] || fail "too few functions found in $header"

soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
[ "$soname" = liborvu-icons.so.1 ] || fail "SONAME is '$soname'"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "$(wc -l <<<"$declared") functions exported, each under its version; SONAME $soname"
