#!/usr/bin/env bash
# Installs the Debian packages the project needs and the machine lacks.
#   install-deps.sh           to build and run the program
#   install-deps.sh --tests   also what the tests, the fuzzers and the Windows checks need
#   install-deps.sh --package also what making and checking the Debian package needs
#   install-deps.sh --windows also what building the packages for Windows needs
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config gettext qt6-base-dev libgl-dev libxcb1-dev
          libpng-dev fonts-wqy-zenhei qt6-translations-l10n python3-dev pybind11-dev)
case "${1:-}" in
    --tests)
        packages+=(libgtest-dev clang libclang-rt-14-dev
                   g++-mingw-w64-x86-64 wine wine64 icoutils
                   xvfb icewm xdotool imagemagick nsis zip
                   desktop-file-utils appstream man-db groff-base python3 file
                   tumbler dbus shared-mime-info gir1.2-gnomedesktop-3.0 python3-gi bubblewrap
                   icoextract python3-pefile python3-pil python3-numpy)
        ;;
    --windows)
        packages+=(g++-mingw-w64-x86-64 nsis zip)
        ;;
    --package)
        packages+=(dpkg-dev debhelper dh-python binutils file fakeroot lintian
                   desktop-file-utils appstream)
        ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd="sudo"
fi
echo "installing: ${missing[*]}"
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
