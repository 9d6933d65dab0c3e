#!/usr/bin/env bash
# Makes the template texts/po/orvu-icons.pot anew from the code and merges
# every translation with it: new texts arrive untranslated, changed ones
# marked fuzzy, for the translators to finish. Run from the source folder
# (or through `cmake --build build --target update-texts`).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source=$(dirname "$here")
template=$here/po/orvu-icons.pot
fresh=$(mktemp)
trap 'rm -f "$fresh"' EXIT

"$here/extract-texts.sh" "$source" "$fresh"
# The template changes only where its texts do, not with the date it was made.
if ! diff -q <(grep -v '^"POT-Creation-Date:' "$fresh") \
             <(grep -v '^"POT-Creation-Date:' "$template" 2>/dev/null) >/dev/null; then
    cp "$fresh" "$template"
    echo "updated $template"
fi
for language in $(grep -v '^#' "$here/po/LINGUAS"); do
    msgmerge --quiet --update --backup=none --previous "$here/po/$language.po" "$template"
done
