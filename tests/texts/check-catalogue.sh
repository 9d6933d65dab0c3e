#!/usr/bin/env bash
# Fails when a text a person sees is written outside the catalogue, or when a
# language lacks one:
#   - no Chinese (or other CJK) characters in the product's code, only in
#     the translators' files under texts/po/;
#   - no English text in the windows' code that reaches a person without
#     text() or qtText() (uncatalogued_texts.py says how it finds them);
#   - the template texts/po/orvu-icons.pot holds exactly the texts that
#     xgettext finds in the code (texts/update-texts.sh makes it anew);
#   - every language's .po translates every text of the template, none left
#     fuzzy, and passes msgfmt --check (placeholders, plural forms, header).
#   check-catalogue.sh SOURCE_DIR
set -uo pipefail

source=${1:?usage: check-catalogue.sh SOURCE_DIR}
here=$(cd "$(dirname "$0")" && pwd)
cd "$source" || exit 1
export LC_ALL=C.UTF-8
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

folders=()
for folder in $(grep -v '^#' texts/source-folders); do
    [ -d "$folder" ] && folders+=("$folder")
done
# CJK punctuation, ideographs and full-width forms.
written=$(grep -rlP '[\x{3000}-\x{303f}\x{3400}-\x{9fff}\x{f900}-\x{faff}\x{ff00}-\x{ffef}]' \
          --exclude-dir=po "${folders[@]}")
[ -z "$written" ] || fail "texts written outside the catalogue (texts/po/), in:
$written"

# The windows' code: the Qt toolkit's layers.
widgets=()
for folder in qt controls app; do
    [ -d "$folder" ] && widgets+=("$folder")
done
if [ ${#widgets[@]} -gt 0 ]; then
    mapfile -t files < <(find "${widgets[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
    python3 "$here/uncatalogued_texts.py" "${files[@]}" >&2 ||
        fail "English texts outside the catalogue: write them as qtText(\"...\")"
fi

fresh=$(mktemp)
trap 'rm -f "$fresh"' EXIT
texts/extract-texts.sh . "$fresh" || fail "xgettext could not read the code"
if ! diff -u <(grep -v '^"POT-Creation-Date:' texts/po/orvu-icons.pot) \
             <(grep -v '^"POT-Creation-Date:' "$fresh") >&2; then
    fail "texts/po/orvu-icons.pot is not the code's: run texts/update-texts.sh"
fi

for language in $(grep -v '^#' texts/po/LINGUAS); do
    po=texts/po/$language.po
    msgfmt --check --output-file=/dev/null "$po" || fail "$po does not pass msgfmt --check"
    msgcmp "$po" "$fresh" || fail "$po lacks translations of the code's texts"
done
exit $failed
