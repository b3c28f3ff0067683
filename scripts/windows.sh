#!/usr/bin/env bash
# The Windows build, made on Debian 12: cross-compiles Tolvane with MinGW-w64
# against a Qt built for it, runs the suites under Wine, makes the zip for
# teachers and checks it. Installs what is missing first.
#
# Usage: scripts/windows.sh [step...]      (default: build test zip check serial)
#   build   the "windows" preset, into build-windows/
#   test    the suites under Wine on Xvfb, through CTest
#   zip     build-windows/tolvane-<version>-windows-x64.zip
#   check   unzips the zip into a fresh Wine prefix and starts tolvane-demo.exe
#           from it: the window must show a period
#   serial  unzips into a fresh Wine prefix whose COM1..COM4 lead to perix-sim
#           from the Linux build (build/, built if missing) or to nothing, and
#           checks tolvane.exe and perix-io.exe there: one PASS or FAIL line
#           per check (scripts/windows-serial.sh)
# The Qt for Windows is TOLVANE_QT_MINGW, by default ../shared/qt6-mingw.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build-windows"
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(build test zip check serial)

# The compilers, Wine, a virtual display, the icon maker, and for reading the
# display back: screenshots and OCR. For the serial step also: xdotool to
# click the menu.
"$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix qt6-base-dev-tools wine64 \
    xvfb xauth x11-utils imagemagick tesseract-ocr tesseract-ocr-jpn unzip xdotool

qt="${TOLVANE_QT_MINGW:-$root/../shared/qt6-mingw}"
if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    echo "No Qt for MinGW-w64 in $qt; set TOLVANE_QT_MINGW (see the README, Windows)." >&2
    exit 1
fi
TOLVANE_QT_MINGW="$(cd "$qt" && pwd)"
export TOLVANE_QT_MINGW

wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")
version=$(sed -n 's/^project(Tolvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name="tolvane-$version-windows-x64"

# A new Wine prefix; its first start takes a while.
new_prefix() {
    rm -rf "$1"
    WINEPREFIX="$1" "$wine" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$1" /usr/lib/wine/wineserver -w
}

# Starts a window program under Wine on Xvfb, lets its window run for some
# seconds, and writes what its display (the client area under the menu bar,
# the window's bottom 136 pixels) reads, by OCR, to <shot>.txt beside the
# screenshot <shot>.png. Usage: read_display <folder> <program> <seconds> <shot>
read_display() {
    WINE="$wine" "${xvfb[@]}" bash -c '
        cd "$1"
        "$WINE" "$2" >/dev/null 2>&1 &
        # The first start in a new prefix first gathers the fonts.
        for _ in $(seq 120); do
            xwininfo -name Tolvane >/dev/null 2>&1 && break
            sleep 0.5
        done
        sleep "$3"
        xwininfo -name Tolvane >"$4.window" 2>&1 || true
        import -window root "$4.png"
        /usr/lib/wine/wineserver -k
        wait' _ "$@"
    read_shot "$4"
}

# A window's width, height and place on the screen, from what xwininfo said
# of it: "w h x y". Usage: window_box <xwininfo output>
window_box() {
    awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
         /Width:/ {w = $NF} /Height:/ {h = $NF} END {print w, h, x, y}' "$1"
}

# Writes what the display of the window in <shot>.window reads on the
# screenshot <shot>.png, by OCR, to <shot>.txt. Usage: read_shot <shot>
read_shot() {
    local w h x y
    read -r w h x y < <(window_box "$1.window")
    if [ -z "$w" ]; then
        echo "(no window named Tolvane)" >"$1.txt"
        return
    fi
    convert "$1.png" -crop "${w}x136+$x+$((y + h - 136))" +repage "$1-display.png"
    tesseract "$1-display.png" - -l jpn --psm 7 2>/dev/null | tr -d ' \n' >"$1.txt"
    # The Japanese model may take this font's 0 for a 9. The English one,
    # kept to digits, reads the digits right but 秒 as one more digit: its
    # reading, cut to the length of the Japanese one, has the last word.
    if shows_period "$1"; then
        local japanese english
        japanese=$(sed 's/秒$//' "$1.txt")
        english=$(tesseract "$1-display.png" - -l eng --psm 7 \
            -c tessedit_char_whitelist=0123456789. 2>/dev/null | tr -d ' \n')
        english=${english:0:${#japanese}}
        [ "${english//[0-9]/d}" != "${japanese//[0-9]/d}" ] || echo "$english秒" >"$1.txt"
    fi
}

# A period as the display shows it: "0.7秒", " 1.5秒", " 2秒".
shows_period() {
    grep -qE '^[0-9]{1,2}(\.[0-9])?秒$' "$1.txt"
}

step_build() {
    cd "$root"
    cmake --preset windows
    cmake --build --preset windows -j2
}

step_test() {
    local log="$dir/wine-tests.log"
    [ -d "$dir/wine" ] || new_prefix "$dir/wine"
    cd "$root"
    # One Wine server for the whole run rather than one per suite. Wine's own
    # background programs start with the first program run: start them here,
    # or they would keep the first suite's output open until CTest's timeout.
    set +e
    "${xvfb[@]}" bash -c 'WINEPREFIX="$1/wine" /usr/lib/wine/wineserver -p
        "$1/wine-run" wineboot >/dev/null 2>&1
        ctest --preset windows --verbose; status=$?
        WINEPREFIX="$1/wine" /usr/lib/wine/wineserver -k
        exit $status' _ "$dir" >"$log" 2>&1
    local status=$?
    set -e
    grep -E '^ *[0-9]+/[0-9]+ Test|^[0-9]+: (FAIL!|SKIP)|tests passed' "$log" | sed 's/^[0-9]*: //'
    awk '/^[0-9]+: Totals:/ {p += $3; f += $5; s += $7}
         END {printf "Wine suites: %d cases passed, %d failed, %d skipped (log: %s)\n", p, f, s, FILENAME}' \
        "$log"
    return $status
}

step_zip() {
    cmake --build "$dir" --target windows-zip
    ls -l "$dir/$name.zip"
}

step_check() {
    local check="$dir/zip-check"
    rm -rf "$check"
    mkdir -p "$check"
    export WINEPREFIX="$check/prefix"
    new_prefix "$WINEPREFIX"
    unzip -q "$dir/$name.zip" -d "$WINEPREFIX/drive_c"
    read_display "$WINEPREFIX/drive_c/$name" tolvane-demo.exe 8 "$check/demo"
    unset WINEPREFIX
    echo "tolvane-demo.exe from the zip shows: $(cat "$check/demo.txt")"
    if ! shows_period "$check/demo"; then
        echo "No period on the display: see $check/demo.png" >&2
        return 1
    fi
}

# shellcheck source=scripts/windows-serial.sh
source "$root/scripts/windows-serial.sh"

for step in "${steps[@]}"; do
    case "$step" in
    build | test | zip | check | serial)
        start=$SECONDS
        echo "== $step"
        "step_$step"
        echo "== $step took $((SECONDS - start)) s"
        ;;
    *)
        echo "Unknown step: $step (build, test, zip, check, serial)" >&2
        exit 2
        ;;
    esac
done
