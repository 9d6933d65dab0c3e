#!/usr/bin/env bash
# The Windows window under Wine, on an X screen of its own with a task bar
# and a tray (Xvfb and icewm), used as a user would use it:
#
#  - started with shell32.dll of the corpus ("Open with"), it maps at the
#    design's place and size, lists every icon as a numbered tile in the
#    language asked for (Chinese, English), and its first tiles on the
#    screen are, pixel for pixel, the cells `orvu-icons-cli cells` draws;
#  - its tray icon is there, and comes back when the task bar starts anew;
#  - "Save Icon As..." from the tile menu writes what `extract` writes;
#  - minimised, it hides; a second start brings it back, hands it its path
#    (a folder and a file of Chinese names) and ends;
#  - on a screen of 144 dots an inch it maps scaled by 1.5, its tiles drawn
#    at 48 pixels as Windows draws them at that size;
#  - the installer installs silently, the installed program starts, and the
#    uninstaller takes everything away again; the zip's tool answers as the
#    Linux one, and a program built against its library as on Linux.
#
# Screenshots of every window, in both languages and at 96 and 144 dots an
# inch, stay in WORK/screens.
#
#   window-under-wine.sh --work DIR --prefix DIR --cross BUILD --native-cli PROGRAM
#       --native-lib DIR --source DIR [--corpus DIR] [--python PROGRAM]
#
# Runs alone (the other tests' Wine session has no screen; this one ends it
# and starts one on its own display). Exit code 77 (skipped) when Xvfb,
# icewm, xdotool, ImageMagick, makensis or the corpus is missing.
set -euo pipefail

corpus=$HOME/.cache/orvu-icons/corpus
python=python3
while [ $# -gt 0 ]; do
    case $1 in
    --work) work=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --cross) cross=$2; shift 2 ;;
    --native-cli) native_cli=$2; shift 2 ;;
    --native-lib) native_lib=$2; shift 2 ;;
    --source) source=$2; shift 2 ;;
    --corpus) corpus=$2; shift 2 ;;
    --python) python=$2; shift 2 ;;
    *) echo "window-under-wine.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

for tool in Xvfb icewm xdotool import wine wineserver makensis zip unzip x86_64-w64-mingw32-gcc; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is missing (scripts/install-deps.sh --tests)"
        exit 77
    fi
done
wine_dir=$corpus/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
if [ ! -f "$wine_dir/shell32.dll" ]; then
    echo "skipped: no corpus in $corpus (scripts/fetch-corpus.sh)"
    exit 77
fi

native_cli=$(realpath "$native_cli")
native_lib=$(realpath "$native_lib")
rm -rf "$work"
mkdir -p "$work/screens" "$work/saved" "$work/extracted"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8
probe_exe=$cross/tests/window_probe.exe
window_exe=$cross/orvu-icons.exe
shell32=$wine_dir/shell32.dll
user32=$wine_dir/user32.dll

failures=0
check() { # check WHAT ACTUAL EXPECTED
    if [ "$2" = "$3" ]; then
        echo "ok - $1"
    else
        echo "not ok - $1: got '$2', wanted '$3'"
        failures=$((failures + 1))
    fi
}
probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
# Waits until COMMAND prints WANTED (at most SECONDS); prints what it printed last.
wait_for() { # wait_for SECONDS WANTED COMMAND...
    local seconds=$1 wanted=$2 got=""
    shift 2
    local until=$((SECONDS + seconds))
    while [ $SECONDS -lt $until ]; do
        got=$("$@" || true)
        [ "$got" = "$wanted" ] && break
        sleep 0.3
    done
    echo "$got"
}
tile_count() { probe tiles 0 | head -n1; }
icon_count() { "$native_cli" cells "$1" | cut -f2; }
screenshot() { sleep 0.5; import -window root "$work/screens/$1.png"; }

# The session the other tests left runs without a screen: end it, and end
# this one when done, so that they start headless again.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
pids=()
cleanup() {
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
    wine reg delete 'HKCU\Software\Orvu\orvu-icons\tiles' /f >/dev/null 2>&1 || true
    wineserver -k 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1280x800x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
icewm >"$work/icewm.log" 2>&1 &
pids+=($!)
sleep 1

# start_window LANGUAGE [PATH...]: the window, started as Explorer's "Open with" starts it.
start_window() {
    local language=$1
    shift
    LANGUAGE=$language wine "$@" >>"$work/window.log" 2>&1 &
    window_pid=$!
    wait_for 90 ok sh -c "wine '$probe_exe' place >/dev/null 2>&1 && echo ok" >/dev/null
}
close_window() {
    probe close >/dev/null
    wait "$window_pid" 2>/dev/null || true
    wait_for 30 "windows 0" probe count >/dev/null
}
# The first N tiles on the screen against the cells the command-line tool draws.
check_pixels() { # check_pixels NAME FILE N [--size S]
    local name=$1 file=$2 n=$3
    shift 3
    probe tiles "$n" >"$work/$name-tiles.txt"
    "$native_cli" cells "$@" "$file" >"$work/$name-cells.txt"
    import -window root "$work/$name-screen.png"
    if "$python" "$(dirname "$0")/screen_cells.py" "$work/$name-screen.png" \
        "$work/$name-tiles.txt" "$work/$name-cells.txt" "$n" >"$work/$name-pixels.txt"; then
        echo "ok - $name: the first $n tiles show the cells pixel for pixel"
    else
        echo "not ok - $name: tiles differ from the cells:"
        grep DIFFERS "$work/$name-pixels.txt" | sed 's/^/    /'
        failures=$((failures + 1))
    fi
}
# The about window and a tile's details, for the screenshots.
shoot_windows() { # shoot_windows SUFFIX
    local suffix=$1
    screenshot "main-$suffix"
    read -r x y w h <<<"$(probe place)"
    local scale=$((w * 100 / 425))
    xdotool mousemove $((x + 346 * scale / 100)) $((y + 18 * scale / 100)) click 1 # help
    sleep 1.5
    screenshot "about-$suffix"
    probe close-others >/dev/null
    sleep 0.5
    # A window that has just lost its about box may take a moment to answer.
    local rect=""
    for _ in $(seq 30); do
        rect=$(probe tiles 1 | sed -n 2p | cut -f3) || rect=""
        [ -n "$rect" ] && break
        sleep 0.3
    done
    if [ -z "$rect" ]; then
        check "$suffix: the first tile's place" "" "a rectangle"
        return
    fi
    read -r left top right bottom <<<"$rect"
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click --repeat 2 --delay 80 1
    sleep 2
    screenshot "details-$suffix"
    probe close-others >/dev/null
    sleep 0.5
}

shell32_icons=$(icon_count "$shell32")

echo "== Chinese, 96 dots an inch ($SECONDS s) =="
start_window zh_CN "$window_exe" "$shell32"
check "zh: place and size" "$(probe place)" "178 71 425 362"
check "zh: tiles" "$(wait_for 60 "$shell32_icons" tile_count)" "$shell32_icons"
check "zh: captions" "$(probe tiles | sed 1d | cut -f2 | tr '\n' ' ')" \
    "$(for i in $(seq "$shell32_icons"); do printf '图标%d ' "$i"; done)"
check_pixels zh "$shell32" 15
check "zh: tray icon" "$(probe tray)" "tray yes"
probe taskbar-restart >/dev/null
check "zh: tray icon again after the task bar restarted" "$(probe tray)" "tray yes"

# "Save Icon As..." on the third tile: a right click on it, the menu's first entry, a name.
read -r left top right bottom <<<"$(probe tiles 3 | sed -n 4p | cut -f3)"
xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 3
sleep 1
xdotool mousemove_relative 30 10 click 1
probe answer "Z:${work//\//\\}\\saved\\third.ico" >/dev/null
wait_for 20 yes sh -c "[ -s '$work/saved/third.ico' ] && echo yes" >/dev/null
"$native_cli" extract --icon 3 -o "$work/extracted" "$shell32" >/dev/null
check "zh: Save Icon As writes what extract writes" \
    "$(cmp "$work/saved/third.ico" "$work/extracted/shell32_3.ico" >/dev/null 2>&1 && echo same)" same
shoot_windows zh-96
close_window
check "zh: tray icon gone with the window" "$(wait_for 10 "windows 0" probe count)" "windows 0"

echo "== English, 96 dots an inch; a second start ($SECONDS s) =="
start_window en "$window_exe" "$shell32"
check "en: tiles" "$(wait_for 60 "$shell32_icons" tile_count)" "$shell32_icons"
check "en: captions" "$(probe tiles 3 | sed 1d | cut -f2 | tr '\n' ' ')" "Icon 1 Icon 2 Icon 3 "
shoot_windows en-96
user32_icons=$(icon_count "$user32")
mkdir -p "$work/图标 文件夹"
cp "$user32" "$work/图标 文件夹/用户界面.dll"
read -r x y w h <<<"$(probe place)"
xdotool mousemove $((x + 370)) $((y + 18)) click 1 # the minimise button
check "minimised, it hides" "$(wait_for 10 "shown no" probe shown)" "shown no"
second=$(LANGUAGE=en timeout 60 wine "$window_exe" "$work/图标 文件夹/用户界面.dll" >/dev/null 2>&1
    echo $?)
check "a second start ends" "$second" 0
check "one window, shown again" "$(probe count) $(probe shown)" "windows 1 shown yes"
check "the first window harvests the path handed over" \
    "$(wait_for 60 "$user32_icons" tile_count)" "$user32_icons"

# The controller's flows through the window's controls and the shell's
# dialogs, each control pressed by its id (win32/main_window.h).
file_mode=105 start_button=106 pick_file=109 save_all=203 include_cursors=205
user32_cursors=$("$native_cli" cells --kind cursor "$user32" | cut -f2)
with_cursors=$((user32_icons + user32_cursors))
probe press $include_cursors >/dev/null
check "Include Cursors harvests the cursors after the icons" \
    "$(wait_for 60 "$with_cursors" tile_count) $(probe tiles $((user32_icons + 1)) | tail -n1 | cut -f2)" \
    "$with_cursors Cursor 1"
mkdir -p "$work/saved/all"
probe press $save_all >/dev/null
probe answer "Z:${work//\//\\}\\saved\\all" >/dev/null
check "Save All writes every tile, each in its kind's format" \
    "$(wait_for 60 "$user32_icons $user32_cursors" sh -c "cd '$work/saved/all' && echo \$(ls *.ico 2>/dev/null | wc -l) \$(ls *.cur *.ani 2>/dev/null | wc -l)")" \
    "$user32_icons $user32_cursors"
probe close-others >/dev/null # the news that all were saved
probe press $include_cursors >/dev/null
check "without cursors again" "$(wait_for 60 "$user32_icons" tile_count)" "$user32_icons"
probe press $file_mode >/dev/null
probe press $pick_file >/dev/null
probe answer "Z:${shell32//\//\\}" >/dev/null
check "a file picked empties the list" "$(wait_for 20 0 tile_count)" 0
probe press $start_button >/dev/null
check "Start harvests the file picked" "$(wait_for 60 "$shell32_icons" tile_count)" "$shell32_icons"
close_window

echo "== 144 dots an inch ($SECONDS s) =="
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
start_window en "$window_exe" "$shell32"
check "144: place and size, scaled by 1.5" "$(probe place)" "267 107 638 543"
check "144: tiles" "$(wait_for 60 "$shell32_icons" tile_count)" "$shell32_icons"
check_pixels dpi144 "$shell32" 15 --size 48
shoot_windows en-144
close_window
start_window zh_CN "$window_exe" "$shell32"
wait_for 60 "$shell32_icons" tile_count >/dev/null
shoot_windows zh-144
close_window
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1

echo "== the installer and the zip ($SECONDS s) =="
"$source/scripts/package-windows.sh" --built "$cross" --out "$work/dist" >"$work/package.log" 2>&1
setup=$(ls "$work"/dist/orvu-icons-*-setup.exe)
installed="$prefix/drive_c/Program Files/Orvu Icons"
menu_entry="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Orvu Icon Extractor D2002.10.27.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvuIcons'
open_with_key='HKLM\Software\Classes\Applications\orvu-icons.exe'
LANGUAGE=en wine "$setup" /S >/dev/null 2>&1
wait_for 60 yes sh -c "[ -f '$installed/uninstall.exe' ] && echo yes" >/dev/null
check "installed: the program, the tool, the uninstaller, the menu entry" \
    "$(cd "$installed" 2>/dev/null && ls orvu-icons.exe orvu-icons-cli.exe uninstall.exe | tr '\n' ' '; [ -f "$menu_entry" ] && echo entry)" \
    "orvu-icons-cli.exe orvu-icons.exe uninstall.exe entry"
start_window en 'C:\Program Files\Orvu Icons\orvu-icons.exe' "$shell32"
check "the installed program starts and harvests" "$(wait_for 60 "$shell32_icons" tile_count)" \
    "$shell32_icons"
close_window
wine 'C:\Program Files\Orvu Icons\uninstall.exe' /AllUsers /S >/dev/null 2>&1
wait_for 60 gone sh -c "[ ! -e '$installed' ] && echo gone" >/dev/null
# The uninstaller runs from a copy in the temporary folder, which Windows
# removes when it starts again: only that empty folder may stay.
leftovers=$(find "$prefix/drive_c" -newer "$setup" -type f -not -name '*.reg' | grep -v 'Temp/~nsu' || true)
check "uninstalled: no file, menu entry or key left" \
    "$([ -e "$installed" ] && echo folder; [ -e "$menu_entry" ] && echo entry
       wine reg query "$uninstall_key" >/dev/null 2>&1 && echo key
       wine reg query "$open_with_key" >/dev/null 2>&1 && echo open-with; echo "$leftovers")" ""

unzip -q "$work"/dist/orvu-icons-*-windows-x86_64.zip -d "$work/unzipped"
portable=$(ls -d "$work"/unzipped/orvu-icons-*)
check "zip: the tool lists as the Linux one" \
    "$(cd "$wine_dir" && wine "$portable/orvu-icons-cli.exe" list shell32.dll 2>/dev/null | md5sum)" \
    "$(cd "$wine_dir" && "$native_cli" list shell32.dll | md5sum)"
x86_64-w64-mingw32-gcc -I"$portable/include" "$source/examples/list-icons.c" -L"$portable/lib" \
    -lorvu-icons -o "$portable/list-icons.exe"
cc -I"$source/library/include" "$source/examples/list-icons.c" -L"$native_lib" -lorvu-icons \
    -o "$work/list-icons"
check "zip: a program built against its library answers as on Linux" \
    "$(wine "$portable/list-icons.exe" "$shell32" 2>/dev/null | tr -d '\r' | md5sum)" \
    "$(LD_LIBRARY_PATH=$native_lib "$work/list-icons" "$shell32" | md5sum)"

echo "screenshots: $work/screens ($SECONDS s)"
[ "$failures" -eq 0 ]
