#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 (bookworm) root made by
# debootstrap, as a new user's machine would get it, and tries it there:
#   - apt installs it with its dependencies alone (no recommended packages);
#   - every library of both programs is found;
#   - orvu-icons-cli reads an icon, and the window starts (Qt's offscreen
#     platform, since the root has no display);
#   - the manual pages are installed and `apt remove --purge` leaves nothing.
# Needs root and Debian's mirror; takes a few minutes. Not run by CI.
#
#   scripts/try-package-in-fresh-debian.sh [DEB] [--keep]
#
# DEB defaults to build-package/orvu-icons_*.deb (scripts/package.sh makes
# it). The root is made in a new folder under /var/tmp and removed at the end,
# unless --keep is given.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=""
keep=0
for argument in "$@"; do
    case "$argument" in
        --keep) keep=1 ;;
        *) deb=$argument ;;
    esac
done
if [ -z "$deb" ]; then
    deb=$(ls build-package/orvu-icons_*.deb 2>/dev/null | tail -n 1 || true)
fi
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    echo "no package: run scripts/package.sh first, or name the .deb" >&2
    exit 2
fi
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
cp "$deb" "$root/tmp/"
cp resources/app.ico "$root/tmp/app.ico"
package=/tmp/$(basename "$deb")

in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}

echo "== apt install $package =="
in_root apt-get update -qq
in_root apt-get install -y -qq --no-install-recommends "$package" >/dev/null
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' orvu-icons
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
in_root dpkg --verify orvu-icons
echo "every file in place and unchanged"

echo "== apt remove --purge =="
files=$(in_root dpkg -L orvu-icons | while read -r path; do
    [ -f "$root$path" ] && echo "$path"
done)
in_root apt-get remove --purge -y -qq orvu-icons >/dev/null
if in_root dpkg -L orvu-icons >/dev/null 2>&1; then
    echo "dpkg still lists orvu-icons" >&2
    exit 1
fi
left=0
for path in $files; do
    [ -e "$root$path" ] && { echo "left behind: $path" >&2; left=1; }
done
[ "$left" -eq 0 ] || exit 1
echo "removed: no file of the package is left"
