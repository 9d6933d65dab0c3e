#!/usr/bin/env bash
# Fetches the real Windows files the tests compare against: Debian's libwine
# and nsis-common packages, unpacked once into the corpus folder
# (ORVU_CORPUS_DIR, by default ~/.cache/orvu-icons/corpus).
set -euo pipefail

corpus=${ORVU_CORPUS_DIR:-$HOME/.cache/orvu-icons/corpus}
if [ -f "$corpus/.complete" ]; then
    exit 0
fi
mkdir -p "$corpus"
cd "$corpus"
rm -f ./*.deb
if ! apt-get download libwine nsis-common 2>/dev/null; then
    # The package lists may be missing on a fresh machine.
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    apt-get download libwine nsis-common
fi
for deb in ./*.deb; do
    dpkg -x "$deb" .
done
rm -f ./*.deb
touch .complete
echo "corpus ready in $corpus"
