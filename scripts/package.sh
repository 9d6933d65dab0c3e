#!/usr/bin/env bash
# Builds the Debian packages from the Debian source tree in debian/:
# installs what is missing, copies the project's files into
# build-package/src, builds there with dpkg-buildpackage (debhelper, a
# Release build with Debian's hardening flags, no tests) and prints the
# paths of the four .deb files:
#   orvu-icons          the window, the command-line tool, the thumbnailer
#   liborvu-icons1      the shared library
#   liborvu-icons-dev   its header, pkg-config file and CMake package
#   python3-orvu-icons  the Python module
#
#   scripts/package.sh           build the packages
#   scripts/package.sh --lint    also run lintian on them
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --package

# Files and folders in the packages get their modes from the built files.
umask 022

rm -rf build-package
mkdir -p build-package/src
# The project's files as the working tree has them, without builds or other untracked files.
git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C build-package/src
(cd build-package/src && dpkg-buildpackage -b -us -uc -j"$(nproc)")

debs=(build-package/*.deb)
if [ "${1:-}" = "--lint" ]; then
    lintian --info --display-info --fail-on error,warning "${debs[@]}"
fi
printf '%s\n' "${debs[@]}"
