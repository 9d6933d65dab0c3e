#!/usr/bin/env bash
# check-installed-library.sh BUILD_DIR SOURCE_DIR ICON_FILE
# Installs the build into a temporary prefix and uses the library as a
# program elsewhere would: the example program built with pkg-config and
# with CMake's find_package(OrvuIcons), and the Python module imported from
# the prefix. Each reads ICON_FILE and writes the PNG of its first icon.
set -uo pipefail

build=$1
source=$2
icon=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! "$source/tests/install/install-build.sh" "$build" "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi
libdir=$(dirname "$(find "$prefix" -name 'liborvu-icons.so.1' | head -n 1)")
[ -d "$libdir" ] || { echo "FAIL: no liborvu-icons.so.1 installed" >&2; exit 1; }
export LD_LIBRARY_PATH=$libdir

# Runs a program that loads the library; a library built with the sanitizers
# needs their runtime loaded first (ORVU_RUN_PRELOAD names it).
run_built() {
    if [ -n "${ORVU_RUN_PRELOAD:-}" ]; then
        LD_PRELOAD=$ORVU_RUN_PRELOAD ASAN_OPTIONS=detect_leaks=0 "$@"
    else
        "$@"
    fi
}

# What the example says of ICON_FILE: a line for the file, one per icon,
# and the PNG it wrote, which starts as every PNG file does.
check_example() {
    local program=$1 how=$2
    if ! run_built "$program" "$icon" "$work/$how.png" >"$work/$how.out" 2>&1; then
        fail "$how: the example failed: $(cat "$work/$how.out")"
        return
    fi
    grep -q "^$icon: [1-9][0-9]* icons (liborvu-icons [0-9.]*)$" "$work/$how.out" ||
        fail "$how: no line for the file: $(head -n 1 "$work/$how.out")"
    grep -q '^icon 0: .*\*' "$work/$how.out" || fail "$how: no image chosen for icon 0"
    grep -q "^icon 0: .* sha256 $icon_sha256\$" "$work/$how.out" ||
        fail "$how: icon 0's SHA-256 is not that of its .ico: $(grep '^icon 0' "$work/$how.out")"
    [ "$(head -c 8 "$work/$how.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
        fail "$how: the file written is no PNG"
}

# The SHA-256 of the first icon as the command-line tool extracts it.
mkdir "$work/extracted"
icon_sha256=$(sha256sum "$("$build/orvu-icons-cli" extract --icon 1 -o "$work/extracted" "$icon")" |
    cut -d ' ' -f 1)

# pkg-config, and a C compiler that is strict about the header.
export PKG_CONFIG_PATH=$libdir/pkgconfig
if flags=$(pkg-config --cflags --libs orvu-icons); then
    # shellcheck disable=SC2086 # the flags are words
    if cc -std=c99 -Wall -Wextra -Wpedantic -Werror "$source/examples/list-icons.c" $flags \
        -o "$work/list-icons-pc" 2>"$work/cc.log"; then
        check_example "$work/list-icons-pc" pkg-config
    else
        fail "the example doesn't build with pkg-config: $(cat "$work/cc.log")"
    fi
else
    fail "pkg-config knows no orvu-icons"
fi

# CMake's find_package.
if cmake -S "$source/examples" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_FLAGS="-Wall -Wextra -Werror" >"$work/cmake.log" 2>&1 &&
    cmake --build "$work/cmake" >>"$work/cmake.log" 2>&1; then
    check_example "$work/cmake/list-icons" cmake
else
    fail "the example doesn't build with find_package(OrvuIcons): $(tail -n 20 "$work/cmake.log")"
fi

# The Python module, from where it was installed.
package=$(find "$prefix" -name orvu_icons -type d -path '*-packages/*' | head -n 1)
if [ -z "$package" ]; then
    fail "no Python package orvu_icons installed"
else
    PYTHONPATH=$(dirname "$package") run_built python3 -c '
import sys, orvu_icons
from orvu_icons.compat import IconExtractor
with orvu_icons.IconFile(sys.argv[1]) as icons:
    assert len(icons) > 0 and icons[0].png(48).startswith(b"\x89PNG")
    assert orvu_icons.__file__.startswith(sys.argv[2]), orvu_icons.__file__
' "$icon" "$prefix" || fail "the installed Python module"
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "the installed library builds and runs with pkg-config, find_package and python3"
