#!/usr/bin/env bash
# Builds the project for 64-bit Windows with mingw-w64, without Qt: the core,
# orvu-icons-cli.exe, the test suites and icon_oracle.exe.
#   cross-build.sh SOURCE BUILD [WARNINGS_AS_ERRORS] [CORPUS]
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: cross-build.sh SOURCE BUILD [WARNINGS_AS_ERRORS] [CORPUS]" >&2
    exit 2
fi
source=$1
build=$2
werror=${3:-OFF}
corpus=${4:-$HOME/.cache/orvu-icons/corpus}

generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null; then
    generator=(-G Ninja)
fi
cmake -S "$source" -B "$build" "${generator[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DORVU_WITH_QT=OFF -DORVU_BUILD_TESTS=ON -DORVU_BUILD_BENCHMARKS=OFF \
      -DORVU_WARNINGS_AS_ERRORS="$werror" -DORVU_CORPUS_DIR="$corpus"
cmake --build "$build" -j "$(nproc)"
