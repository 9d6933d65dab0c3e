#!/usr/bin/env bash
# check-install.sh BUILD_DIR VERSION DEBIAN_CHANGELOG
# Installs the build into a temporary folder with `cmake --install` and checks
# what landed there: every file in its place, the menu entry and the AppStream
# description accepted by their validators, the manual pages rendered without
# a warning, the thumbnailer entry's keys, and one version everywhere.
set -uo pipefail

build=$1
version=$2
changelog=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
usr=$root/usr
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! "$(dirname "$0")/install-build.sh" "$build" "$usr" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    fail "cmake --install"
    exit 1
fi

# Every installed file, and whether it is a program.
while read -r mode file; do
    if [ ! -f "$usr/$file" ]; then
        fail "not installed: $file"
    elif [ "$mode" = exec ] && [ ! -x "$usr/$file" ]; then
        fail "not executable: $file"
    fi
done <<'FILES'
exec bin/orvu-icons
exec bin/orvu-icons-cli
data share/applications/orvu-icons.desktop
data share/thumbnailers/orvu-icons.thumbnailer
data share/metainfo/io.github.orvu.icons.metainfo.xml
data share/man/man1/orvu-icons.1
data share/man/man1/orvu-icons-cli.1
data share/icons/hicolor/16x16/apps/orvu-icons.png
data share/icons/hicolor/32x32/apps/orvu-icons.png
data share/icons/hicolor/48x48/apps/orvu-icons.png
data share/icons/hicolor/64x64/apps/orvu-icons.png
data share/icons/hicolor/128x128/apps/orvu-icons.png
FILES

# The installed command-line tool runs: without arguments it prints its usage
# and exits with 2.
"$usr/bin/orvu-icons-cli" >/dev/null 2>&1
status=$?
[ "$status" -eq 2 ] || fail "orvu-icons-cli without arguments exited with $status, not 2"

# The menu entry: no error or warning from desktop-file-validate (its hints
# are advice only).
desktop=$usr/share/applications/orvu-icons.desktop
if ! desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1 ||
    grep -E 'error|warning' "$work/desktop.log" >&2; then
    fail "desktop-file-validate $desktop"
fi

# The AppStream description, alone and against the installed tree: the
# second finds a launchable that names no installed menu entry.
metainfo=$usr/share/metainfo/io.github.orvu.icons.metainfo.xml
appstreamcli validate --no-net --strict "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
appstreamcli validate-tree --no-net --strict "$root" >"$work/appstream-tree.log" 2>&1 ||
    { cat "$work/appstream-tree.log" >&2; fail "appstreamcli validate-tree"; }

# The manual pages: rendered with every warning on and no message at all, a
# NAME line that man-db's indexer reads, and the project's version.
for page in orvu-icons orvu-icons-cli; do
    file=$usr/share/man/man1/$page.1
    messages=$(groff -k -man -Tutf8 -ww -z "$file" 2>&1)
    [ -z "$messages" ] || fail "groff on $page.1: $messages"
    lexgrog "$file" | grep -q "\"$page - " || fail "no NAME line for $page in $page.1"
    grep -q "^\\.TH .*\"orvu-icons $version\"" "$file" || fail "$page.1 is not of version $version"
done

# The thumbnailer entry: the group, then exactly the keys the thumbnailer
# format defines, each once.
thumbnailer=$usr/share/thumbnailers/orvu-icons.thumbnailer
[ "$(head -n 1 "$thumbnailer")" = "[Thumbnailer Entry]" ] ||
    fail "the thumbnailer entry does not start with [Thumbnailer Entry]"
keys=$(sed -n '2,$p' "$thumbnailer" | grep -v -e '^#' -e '^$' | cut -d= -f1 | sort | tr '\n' ' ')
[ "$keys" = "Exec MimeType TryExec " ] || fail "thumbnailer keys are: $keys"
value() { sed -n "s/^$1=//p" "$thumbnailer"; }
[ -x "$usr/bin/$(value TryExec)" ] || fail "TryExec names no installed program: $(value TryExec)"
[ "$(value Exec)" = "orvu-icons-cli thumbnail -s %s %i %o" ] ||
    fail "thumbnailer Exec is: $(value Exec)"
thumbnail_types=$(value MimeType)
[ "${thumbnail_types: -1}" = ";" ] || fail "thumbnailer MimeType does not end with ';'"
# Every type the program opens gets a thumbnail, and so does every name of a
# Windows program or icon that Debian's shared-mime-info or libmagic give,
# and the one PCManFM's MIME data (libfm-data) gives *.dll.
desktop_types=$(sed -n 's/^MimeType=//p' "$desktop")
[ -n "$desktop_types" ] || fail "the menu entry has no MimeType"
for type in ${desktop_types//;/ } application/x-ms-dos-executable image/vnd.microsoft.icon \
    application/vnd.microsoft.portable-executable application/x-ms-ne-executable \
    application/x-sharedlib; do
    case ";$thumbnail_types" in
        *";$type;"*) ;;
        *) fail "thumbnailer misses $type" ;;
    esac
done

# One version: the project's, the AppStream release's and the Debian
# changelog's latest entry.
grep -q "<release version=\"$version\"" "$metainfo" || fail "no AppStream release $version"
head -n 1 "$changelog" | grep -q "^orvu-icons ($version-[0-9]*)" ||
    fail "the Debian changelog's latest entry is not of version $version"

if [ "$failures" -ne 0 ]; then
    echo "$failures checks failed" >&2
    exit 1
fi
echo "installed files checked"
