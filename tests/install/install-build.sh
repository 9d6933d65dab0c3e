#!/usr/bin/env bash
# install-build.sh BUILD_DIR PREFIX
# `cmake --install` of the build into PREFIX, for the tests. cmake writes the
# list of installed files into the build folder, where it may list a real
# installation: that list is kept as it was.
set -uo pipefail

build=$1
prefix=$2
manifest=$build/install_manifest.txt
kept=$(mktemp)
had_manifest=false
if [ -f "$manifest" ]; then
    cp -p "$manifest" "$kept"
    had_manifest=true
fi
cmake --install "$build" --prefix "$prefix"
status=$?
if $had_manifest; then
    cp -p "$kept" "$manifest"
else
    rm -f "$manifest"
fi
rm -f "$kept"
exit $status
