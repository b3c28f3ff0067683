#!/usr/bin/env bash
# The Windows build, made on Debian 12: cross-compiles Tolvane with MinGW-w64
# against a Qt built for it, runs the suites under Wine, makes the zip for
# teachers and the setup program beside it, and checks both. Installs what is
# missing first.
#
# Usage: scripts/windows.sh [step...]
#        (default: build test zip setup check install serial)
#   build   the "windows" preset, into build-windows/
#   test    the suites under Wine on Xvfb, through CTest
#   zip     build-windows/tolvane-<version>-windows-x64.zip
#   setup   build-windows/tolvane-<version>-setup.exe, from the zip's files
#   check   unzips the zip into a fresh Wine prefix and starts tolvane-demo.exe
#           from it: the window must show a period
#   install in a fresh Wine prefix, installs the setup silently for the
#           current user, checks files, shortcuts and the uninstall entry,
#           starts the demo from its Start-menu shortcut (it must show a
#           period and keep a record), upgrades, uninstalls quietly (only the
#           records stay); then the same for all users (scripts/windows-setup.sh)
#   serial  unzips into a fresh Wine prefix whose COM1..COM4 lead to perix-sim
#           from the Linux build (build/, built if missing) or to nothing, and
#           checks tolvane.exe and perix-io.exe there: one PASS or FAIL line
#           per check (scripts/windows-serial.sh)
# The Qt for Windows is TOLVANE_QT_MINGW, by default ../shared/qt6-mingw.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build-windows"
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(build test zip setup check install serial)

# The compilers, Wine, a virtual display, the icon maker, and for reading the
# display back: screenshots and OCR. For the setup: NSIS. For the serial step
# also: xdotool to click the menu.
"$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix qt6-base-dev-tools wine64 \
    xvfb xauth x11-utils imagemagick tesseract-ocr tesseract-ocr-jpn unzip xdotool nsis

qt="${TOLVANE_QT_MINGW:-$root/../shared/qt6-mingw}"
if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    echo "No Qt for MinGW-w64 in $qt; set TOLVANE_QT_MINGW (see docs/development.md, Qt for MinGW-w64)." >&2
    exit 1
fi
TOLVANE_QT_MINGW="$(cd "$qt" && pwd)"
export TOLVANE_QT_MINGW

# shellcheck source=scripts/wine-helpers.sh
source "$root/scripts/wine-helpers.sh"
version=$(sed -n 's/^project(Tolvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name="tolvane-$version-windows-x64"

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
    "${xvfb[@]}" bash -c 'WINEPREFIX="$1/wine" "$2" -p
        "$1/wine-run" wineboot >/dev/null 2>&1
        ctest --preset windows --verbose; status=$?
        WINEPREFIX="$1/wine" "$2" -k
        exit $status' _ "$dir" "$wineserver" >"$log" 2>&1
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
    read_display "$WINEPREFIX/drive_c/$name" 8 "$check/demo" tolvane-demo.exe
    unset WINEPREFIX
    echo "tolvane-demo.exe from the zip shows: $(cat "$check/demo.txt")"
    if ! shows_period "$check/demo"; then
        echo "No period on the display: see $check/demo.png" >&2
        return 1
    fi
}

# shellcheck source=scripts/windows-setup.sh
source "$root/scripts/windows-setup.sh"
# shellcheck source=scripts/windows-serial.sh
source "$root/scripts/windows-serial.sh"

for step in "${steps[@]}"; do
    case "$step" in
    build | test | zip | setup | check | install | serial)
        start=$SECONDS
        echo "== $step"
        "step_$step"
        echo "== $step took $((SECONDS - start)) s"
        ;;
    *)
        echo "Unknown step: $step (build, test, zip, setup, check, install, serial)" >&2
        exit 2
        ;;
    esac
done
