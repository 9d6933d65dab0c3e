#!/usr/bin/env bash
# check-thumbnail-services.sh BUILD_DIR tumbler|gnome CORPUS_DIR
# Installs the build into a temporary prefix and has a file manager's own
# thumbnail service make thumbnails of a Windows program, an icon file and a
# DLL typed as PCManFM's MIME data types *.dll (application/x-sharedlib)
# through the installed thumbnailer entry, and refuse a Linux library of that
# type:
#   tumbler  Xfce's service (Thunar), started on a private session bus whose
#            environment finds the prefix first; its built-in picture loader
#            is switched off, so that the .ico goes through our entry too.
#   gnome    GNOME's thumbnail factory (Files, Nemo, Caja). It runs the
#            thumbnailer in a bubblewrap sandbox that sees only /usr, so the
#            prefix is mounted on /usr/local in a mount namespace of the test's
#            own, and XDG_DATA_DIRS names only it.
# Exits 77 (skipped) where the machine can't run the service at all, saying why.
set -uo pipefail

build=$1
service=$2
corpus=$3
here=$(cd "$(dirname "$0")" && pwd)
skip() {
    echo "SKIP: $*"
    exit 77
}

program=$corpus/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe
library=$corpus/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll
icon=$corpus/usr/share/nsis/Contrib/Graphics/Icons/nsis3-install.ico
if [ ! -f "$program" ] || [ ! -f "$library" ] || [ ! -f "$icon" ]; then
    skip "no corpus in $corpus (scripts/fetch-corpus.sh)"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

prefix=$work/prefix
if ! "$here/../install/install-build.sh" "$build" "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi
mkdir -p "$work/files" "$work/home" "$work/cache" "$work/config/tumbler"
cp "$program" "$library" "$icon" "$work/files/"
cp "$(readlink -f /usr/lib/x86_64-linux-gnu/libz.so.1)" "$work/files/libz.so"
files=("$work/files/notepad.exe:application/x-ms-dos-executable"
       "$work/files/nsis3-install.ico:image/vnd.microsoft.icon"
       "$work/files/shell32.dll:application/x-sharedlib"
       "!$work/files/libz.so:application/x-sharedlib")
ask=(/usr/bin/python3 "$here/ask_for_thumbnails.py" "$service" "${files[@]}")
base_environment=(HOME="$work/home" XDG_CACHE_HOME="$work/cache" XDG_CONFIG_HOME="$work/config"
                  LANG=C.UTF-8)

case $service in
    tumbler)
        if [ ! -f /usr/share/dbus-1/services/org.xfce.Tumbler.Thumbnailer1.service ]; then
            echo "FAIL: no tumbler (scripts/install-deps.sh --tests)" >&2
            exit 1
        fi
        # The service's own picture loader and the other thumbnailer entries
        # in /usr/share stay out: the data folders are the prefix and one
        # that holds only tumbler's bus service files and the MIME database,
        # by which the service recognises the PNG it reads back.
        printf '[PixbufThumbnailer]\nDisabled=true\n' >"$work/config/tumbler/tumbler.rc"
        mkdir -p "$work/share/dbus-1/services"
        ln -s /usr/share/dbus-1/services/org.xfce.Tumbler.*.service "$work/share/dbus-1/services/"
        ln -s /usr/share/mime "$work/share/mime"
        env -i "${base_environment[@]}" PATH="$prefix/bin:/usr/bin:/bin" \
            XDG_DATA_DIRS="$prefix/share:$work/share" \
            dbus-run-session -- "${ask[@]}" 2>"$work/service.log"
        status=$?
        ;;
    gnome)
        bwrap --ro-bind /usr /usr --symlink usr/lib /lib --symlink usr/lib64 /lib64 \
            --symlink usr/bin /bin --proc /proc --dev /dev --unshare-all --die-with-parent \
            /usr/bin/true 2>"$work/bwrap.log" ||
            skip "bubblewrap can't make GNOME's sandbox here: $(head -n 1 "$work/bwrap.log")"
        namespace=(unshare --mount --propagation private)
        [ "$(id -u)" -eq 0 ] || namespace=(unshare --user --map-root-user --mount)
        "${namespace[@]}" true 2>"$work/unshare.log" ||
            skip "no mount namespace of our own to show the prefix to the sandbox: $(head -n 1 "$work/unshare.log")"
        # shellcheck disable=SC2016 # expanded by the inner shell
        "${namespace[@]}" /bin/sh -c 'mount --bind "$1" /usr/local && shift && exec "$@"' \
            sh "$prefix" env -i "${base_environment[@]}" PATH=/usr/local/bin:/usr/bin:/bin \
            XDG_DATA_DIRS=/usr/local/share GSETTINGS_SCHEMA_DIR=/usr/share/glib-2.0/schemas \
            "${ask[@]}" 2>"$work/service.log"
        status=$?
        ;;
    *)
        echo "usage: $0 BUILD_DIR tumbler|gnome CORPUS_DIR" >&2
        exit 2
        ;;
esac
if [ "$status" -ne 0 ]; then
    echo "--- what the service said:" >&2
    cat "$work/service.log" >&2
    exit 1
fi
