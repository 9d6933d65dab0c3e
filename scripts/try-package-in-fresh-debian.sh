#!/usr/bin/env bash
# Installs the Debian packages into a fresh Debian 12 (bookworm) root made by
# debootstrap, as a new user's machine would get them, and tries them there:
#   - apt installs them with their dependencies alone (no recommended packages);
#   - every library of both programs is found;
#   - orvu-icons-cli reads an icon, and the window starts (Qt's offscreen
#     platform, since the root has no display);
#   - the example program builds against liborvu-icons-dev with pkg-config
#     and with CMake's find_package, and runs;
#   - python3 imports orvu_icons, and orvu_icons.compat extracts an icon;
#   - the manual pages are installed and `apt remove --purge` leaves nothing.
# Needs root and Debian's mirror; takes a few minutes. Not run by CI.
#
#   scripts/try-package-in-fresh-debian.sh [DEB...] [--keep]
#
# The packages default to the four build-package/*.deb (scripts/package.sh
# makes them). The root is made in a new folder under /var/tmp and removed at
# the end, unless --keep is given.
set -euo pipefail
cd "$(dirname "$0")/.."

debs=()
keep=0
for argument in "$@"; do
    case "$argument" in
        --keep) keep=1 ;;
        *) debs+=("$argument") ;;
    esac
done
if [ ${#debs[@]} -eq 0 ]; then
    shopt -s nullglob
    debs=(build-package/*.deb)
    shopt -u nullglob
fi
for name in orvu-icons liborvu-icons1 liborvu-icons-dev python3-orvu-icons; do
    found=0
    for deb in "${debs[@]}"; do
        case "$(basename "$deb")" in "${name}"_*.deb) [ -f "$deb" ] && found=1 ;; esac
    done
    if [ "$found" -eq 0 ]; then
        echo "no package $name: run scripts/package.sh first, or name the four .deb files" >&2
        exit 2
    fi
done
if [ "$(id -u)" -ne 0 ]; then
    echo "debootstrap and chroot need root" >&2
    exit 2
fi
if ! command -v debootstrap >/dev/null; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=$(mktemp -d /var/tmp/orvu-fresh-bookworm.XXXXXX)
chmod 755 "$root" # apt downloads as the user _apt
cleanup() {
    umount "$root/proc" 2>/dev/null || true
    if [ "$keep" -eq 1 ]; then
        echo "root kept at $root"
    else
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT

echo "== debootstrap bookworm into $root =="
start=$(date +%s)
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.log" 2>&1 ||
    { tail -n 20 "$root.log" >&2; exit 1; }
rm -f "$root.log"
echo "made in $(($(date +%s) - start)) s"

cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
packages=()
for deb in "${debs[@]}"; do
    cp "$deb" "$root/tmp/"
    packages+=("/tmp/$(basename "$deb")")
done
cp resources/app.ico "$root/tmp/app.ico"
# A Windows program for the icoextract drop-in, from the corpus where it is
# fetched (scripts/fetch-corpus.sh), else the icon file.
program=$HOME/.cache/orvu-icons/corpus/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe
if [ -f "$program" ]; then
    cp "$program" "$root/tmp/program.exe"
else
    cp resources/app.ico "$root/tmp/program.exe"
fi
mkdir -p "$root/tmp/example"
cp examples/list-icons.c examples/CMakeLists.txt "$root/tmp/example/"

in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}

echo "== apt install ${packages[*]} =="
in_root apt-get update -qq
in_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' \
    orvu-icons liborvu-icons1 liborvu-icons-dev python3-orvu-icons
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' fonts-wqy-zenhei fonts-noto-cjk 2>/dev/null |
    grep 'install ok installed' || { echo "no Chinese font installed" >&2; exit 1; }

echo "== libraries =="
for program in orvu-icons orvu-icons-cli; do
    if in_root ldd "/usr/bin/$program" | grep 'not found'; then
        echo "$program: libraries missing" >&2
        exit 1
    fi
    echo "$program: every library found"
done

echo "== orvu-icons-cli =="
in_root orvu-icons-cli cells /tmp/app.ico | cut -c 1-100
if in_root orvu-icons-cli --help >/dev/null 2>&1; then
    echo "--help: exit status 0"
else
    echo "--help: exit status $? (usage)"
fi

echo "== the example program, with pkg-config and with find_package =="
in_root apt-get install -y -qq --no-install-recommends gcc libc6-dev pkgconf cmake make >/dev/null
in_root sh -c 'cd /tmp/example && cc list-icons.c $(pkg-config --cflags --libs orvu-icons) -o list-icons &&
    ./list-icons /tmp/app.ico /tmp/app-48.png'
in_root sh -c 'cmake -S /tmp/example -B /tmp/example/build >/dev/null &&
    cmake --build /tmp/example/build >/dev/null && /tmp/example/build/list-icons /tmp/app.ico | head -n 1'

echo "== the Python module and the icoextract drop-in =="
in_root python3 -c '
import orvu_icons
from orvu_icons.compat import IconExtractor
with orvu_icons.IconFile("/tmp/app.ico") as icons:
    pixels = icons[0].draw(48)
    print("orvu_icons", orvu_icons.library_version, len(icons), "icons,",
          "drawn at 48:", pixels.width, "x", pixels.height)
extractor = IconExtractor("/tmp/program.exe")
print("compat:", len(extractor.list_group_icons()), "groups, icon 0:",
      len(extractor.get_icon(0).getvalue()), "bytes")
'

echo "== the window, for 5 seconds =="
status=0
mkdir -m 700 "$root/run/user-0"
in_root env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/run/user-0 timeout 5 orvu-icons || status=$?
if [ "$status" -ne 124 ]; then
    echo "orvu-icons ended with $status before 5 seconds" >&2
    exit 1
fi
echo "still running after 5 seconds: started"

echo "== files =="
for file in /usr/share/applications/orvu-icons.desktop /usr/share/thumbnailers/orvu-icons.thumbnailer \
    /usr/share/metainfo/io.github.orvu.icons.metainfo.xml /usr/share/man/man1/orvu-icons.1.gz \
    /usr/share/man/man1/orvu-icons-cli.1.gz /usr/share/doc/orvu-icons/copyright; do
    [ -f "$root$file" ] || { echo "missing: $file" >&2; exit 1; }
done
ours=(orvu-icons liborvu-icons1 liborvu-icons-dev python3-orvu-icons)
in_root dpkg --verify "${ours[@]}"
echo "every file in place and unchanged"

echo "== apt remove --purge =="
files=$(for name in "${ours[@]}"; do in_root dpkg -L "$name"; done | while read -r path; do
    [ -f "$root$path" ] && echo "$path"
done)
in_root apt-get remove --purge -y -qq "${ours[@]}" >/dev/null
for name in "${ours[@]}"; do
    if in_root dpkg -L "$name" >/dev/null 2>&1; then
        echo "dpkg still lists $name" >&2
        exit 1
    fi
done
left=0
for path in $files; do
    [ -e "$root$path" ] && { echo "left behind: $path" >&2; left=1; }
done
[ "$left" -eq 0 ] || exit 1
echo "removed: no file of the packages is left"
