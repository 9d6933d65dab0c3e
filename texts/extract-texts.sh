#!/usr/bin/env bash
# Writes the template of every text the program shows, as xgettext finds
# them in the code (the calls of text() and qtText() in the folders that
# texts/source-folders lists) and in the menu entry and the AppStream
# description, to OUTPUT.
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
for folder in $(grep -v '^#' texts/source-folders); do
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
# The menu entry's and the AppStream description's texts, which the build
# translates from the same catalogue (resources/CMakeLists.txt), after the
# code's; the ITS rules say which of the description's elements are texts.
xgettext --from-code=UTF-8 --add-location=file --language=Desktop \
    --output="$output.desktop" resources/orvu-icons.desktop.in
xgettext --from-code=UTF-8 --add-location=file --its=texts/its/metainfo.its \
    --output="$output.metainfo" resources/io.github.orvu.icons.metainfo.xml.in
# The texts are UTF-8, as the code is.
sed -i 's/charset=CHARSET/charset=UTF-8/' "$output" "$output.desktop" "$output.metainfo"
msgcat --use-first --add-location=file --output-file="$output.all" \
    "$output" "$output.desktop" "$output.metainfo"
mv "$output.all" "$output"
rm -f "$output.desktop" "$output.metainfo"
