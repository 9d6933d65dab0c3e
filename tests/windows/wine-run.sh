#!/usr/bin/env bash
# Runs a Windows program under Wine, without a display and without Wine's
# chatter, in a prefix of its own:
#   wine-run.sh PREFIX PROGRAM.exe [ARGUMENT...]
#   wine-run.sh PREFIX --init     only makes sure the prefix exists
# WINEPREFIX, when set, wins over PREFIX. The prefix is made on first use
# (about 15 seconds, 700 MB), under a lock so that parallel tests wait for it.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: wine-run.sh PREFIX PROGRAM.exe [ARGUMENT...] | PREFIX --init" >&2
    exit 2
fi
prefix=${WINEPREFIX:-$1}
shift

export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=
export WAYLAND_DISPLAY=
# The command line reaches the program through the locale's character set:
# UTF-8 keeps every file name.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
wine=${ORVU_WINE:-wine}

if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/system.reg" ]; then
            echo "wine-run.sh: making the Wine prefix $prefix" >&2
            "${wine}boot" --init >/dev/null 2>&1 || wineboot --init >/dev/null 2>&1
            wineserver --wait
        fi
    ) 9>"$prefix.lock"
    if [ ! -f "$prefix/system.reg" ]; then
        echo "wine-run.sh: could not make the Wine prefix $prefix" >&2
        exit 1
    fi
fi

if [ "$1" = "--init" ]; then
    exit 0
fi
# Debian's launcher warns about a missing 32-bit Wine on every start; the
# programs here are 64-bit.
exec "$wine" "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' \
    -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
