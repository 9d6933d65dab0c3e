#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, configures a Release
# build in build-package/ with Debian's hardening flags and without tests,
# builds it, runs CPack and prints the path of the .deb.
#   scripts/package.sh           build the package
#   scripts/package.sh --lint    also run lintian on it
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --package

# Files and folders in the package get their modes from the staged files.
umask 022

# Debian's build flags: hardening, and the C preprocessor's flags with the
# compiler's, since CMake reads no CPPFLAGS.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"

cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DORVU_BUILD_TESTS=OFF -DORVU_BUILD_BENCHMARKS=OFF \
      -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build build-package -j "$(nproc)"
rm -f build-package/orvu-icons_*.deb
(cd build-package && cpack -G DEB)

deb=$(ls build-package/orvu-icons_*.deb)
if [ "${1:-}" = "--lint" ]; then
    lintian --info --display-info "$deb"
fi
echo "$deb"
