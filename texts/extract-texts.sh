#!/usr/bin/env bash
# Writes the template of every text the program shows, as xgettext finds
# them in the code (the calls of text() and qtText()), to OUTPUT.
#   texts/extract-texts.sh SOURCE_DIR OUTPUT
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: extract-texts.sh SOURCE_DIR OUTPUT" >&2
    exit 2
fi
cd "$1"
output=$2
export LC_ALL=C.UTF-8

folders=()
for folder in icons platform png texts export harvest qt controls app win32 cli; do
    [ -d "$folder" ] && folders+=("$folder")
done
find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) | sort >"$output.files"
# text(english), text(context, english), text(singular, plural, n), the
# same for qtText, and textId(english) in tables; --qt marks the texts with %1 … %9 so that msgfmt --check
# finds a translation that drops or invents one.
xgettext --qt --language=C++ --from-code=UTF-8 --keyword= \
    --keyword=text:1,1t --keyword=text:1c,2,2t --keyword=text:1,2,3t \
    --keyword=qtText:1,1t --keyword=qtText:1c,2,2t --keyword=qtText:1,2,3t \
    --keyword=textId:1 \
    --add-comments=TRANSLATORS: --add-location=file --sort-by-file \
    --package-name=orvu-icons --copyright-holder=Orvu \
    --files-from="$output.files" --output="$output"
rm -f "$output.files"
# The texts are UTF-8, as the code is.
sed -i 's/charset=CHARSET/charset=UTF-8/' "$output"
