#!/usr/bin/env bash
# Builds what Windows users download, in dist/windows:
#   orvu-icons-<version>-setup.exe               the installer (NSIS): the window and the
#                                                command-line tool, for the user or for everyone,
#                                                a Start-menu entry, "Open with", an uninstaller
#   orvu-icons-<version>-windows-x86_64.zip      the same to unpack and run anywhere, with the
#                                                library (orvu-icons.dll), its header and its
#                                                import library
#
#   scripts/package-windows.sh                      installs what is missing, cross-builds a
#                                                   Release build in build-windows, packs it
#   scripts/package-windows.sh --built BUILD --out DIR
#                                                   packs what the cross build BUILD holds into
#                                                   DIR (the tests do this with their build)
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD

built=""
out=dist/windows
while [ $# -gt 0 ]; do
    case $1 in
    --built) built=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: package-windows.sh [--built BUILD] [--out DIR]" >&2; exit 2 ;;
    esac
done

if [ -z "$built" ]; then
    scripts/install-deps.sh --windows
    built=build-windows
    generator=()
    if [ ! -f "$built/CMakeCache.txt" ] && command -v ninja >/dev/null; then
        generator=(-G Ninja)
    fi
    cmake -S . -B "$built" "${generator[@]}" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" \
          -DCMAKE_BUILD_TYPE=Release -DORVU_WITH_QT=OFF -DORVU_BUILD_TESTS=OFF \
          -DORVU_BUILD_BENCHMARKS=OFF
    cmake --build "$built" -j "$(nproc)" --target orvu-icons orvu-icons-cli orvu_icons_shared
fi
for file in orvu-icons.exe orvu-icons-cli.exe orvu-icons.dll lib/liborvu-icons.dll.a; do
    if [ ! -f "$built/$file" ]; then
        echo "package-windows.sh: $built has no $file" >&2
        exit 1
    fi
done

version=$(sed -n 's/^project(orvu_icons VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The product's name as the program shows it, in English and in Chinese, from the catalogue.
name_en="Orvu Icon Extractor D2002.10.27"
name_zh=$(awk -v id="msgid \"$name_en\"" '$0 == id { getline; sub(/^msgstr "/, ""); sub(/"$/, ""); print; exit }' \
    texts/po/zh_CN.po)

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
files=$stage/files
mkdir -p "$files"
strip=x86_64-w64-mingw32-strip
command -v "$strip" >/dev/null || strip=true
for program in orvu-icons.exe orvu-icons-cli.exe orvu-icons.dll; do
    cp "$built/$program" "$files/"
    "$strip" --strip-debug "$files/$program"
done
cp resources/app.ico "$files/orvu-icons.ico"
# Windows' own line ends, for Notepad.
sed 's/$/\r/' README.md >"$files/README.txt"
{
    echo "orvu-icons $version"
    sed -n '/^Files: \*/,/^$/p' debian/copyright | sed -n 's/^Copyright: /Copyright /p;s/^License: //p;s/^ \(.*\)/\1/p'
} | sed 's/$/\r/' >"$files/LICENSE.txt"

setup=$out/orvu-icons-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$files" -DOUTFILE="$setup" \
         -DNAME_EN="$name_en" -DNAME_ZH="$name_zh" resources/orvu-icons.nsi

portable=orvu-icons-$version-windows-x86_64
mkdir -p "$stage/$portable/include" "$stage/$portable/lib"
cp "$files"/orvu-icons.exe "$files"/orvu-icons-cli.exe "$files"/orvu-icons.dll \
   "$files"/README.txt "$files"/LICENSE.txt "$stage/$portable/"
cp library/include/orvu-icons.h "$stage/$portable/include/"
cp "$built/lib/liborvu-icons.dll.a" "$stage/$portable/lib/"
rm -f "$out/$portable.zip"
(cd "$stage" && zip -qr -X "$out/$portable.zip" "$portable")

echo "$setup"
echo "$out/$portable.zip"
