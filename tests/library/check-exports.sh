#!/usr/bin/env bash
# check-exports.sh LIBRARY HEADER SYMBOLS MAP
# The shared library exports exactly the functions its header declares, each
# under the symbol version that the version script MAP gives it (ORVU_ICONS_1
# unless a later node names it), and is named liborvu-icons.so.1; the Debian
# symbols file SYMBOLS lists exactly those functions at those versions.
set -uo pipefail

library=$1
header=$2
symbols=$3
map=$4
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

declared=$(grep '^ORVU_ICONS_API' "$header" | grep -o 'orvu_icons_[a-z_0-9]*(' | tr -d '(' | sort)
# "name version" for each function a node of the map names outright.
named=$(awk '/^ORVU_ICONS_[0-9.]+ *\{/ { node = $1 }
             /^ *orvu_icons_[a-z_0-9]+;/ { gsub(/[ ;]/, ""); print $0, node }' "$map")
versioned=$(while read -r function; do
    version=$(awk -v f="$function" '$1 == f { print $2 }' <<<"$named")
    echo "$function@${version:-ORVU_ICONS_1}"
done <<<"$declared" | sort)
exported=$(nm -D --defined-only "$library" | awk '$2 != "A" { print $3 }' | sort)
expected=$(sed 's/@/@@/' <<<"$versioned")
if [ "$exported" != "$expected" ]; then
    fail "the exported symbols differ from the header's functions:"
    diff <(echo "$expected") <(echo "$exported") >&2
fi
listed=$(awk '$1 ~ /^orvu_icons_/ { print $1 }' "$symbols" | sort)
if [ "$listed" != "$versioned" ]; then
    fail "$symbols differs from the header's functions:"
    diff <(echo "$versioned") <(echo "$listed") >&2
fi
[ "$(wc -l <<<"$declared")" -ge 20 ] || fail "too few functions found in $header"

soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
[ "$soname" = liborvu-icons.so.1 ] || fail "SONAME is '$soname'"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "$(wc -l <<<"$declared") functions exported at their versions, SONAME $soname"
