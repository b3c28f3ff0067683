# shellcheck shell=bash
# What the Windows scripts share: Wine itself, fresh prefixes, waiting for
# something to appear, stopping what they started, and reading Tolvane's
# window back from the screen (screenshots and OCR). Sourced by
# scripts/windows.sh and the files of its steps.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
# No .NET or browser engine to install, and no menu entries of this machine's
# desktop made from a program's Start-menu shortcuts.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A virtual display for one command.
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

# One line per check, PASS or FAIL; a step fails when check_failures is not 0.
check_failures=0
passed() {
    echo "PASS  $1 -- $2"
}
failed() {
    echo "FAIL  $1 -- $2"
    check_failures=$((check_failures + 1))
}

# A new Wine prefix; its first start takes a while. Wine leads the user's
# Documents, Desktop and the like to this machine's home folder: they become
# folders of the prefix's own, so that nothing a program writes there (the
# lesson's record) lands in the home folder. Usage: new_prefix <folder>
new_prefix() {
    rm -rf "$1"
    WINEPREFIX="$1" "$wine" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$1" "$wineserver" -w
    local link
    for link in "$1"/drive_c/users/*/*; do
        [ -L "$link" ] || continue
        rm "$link"
        mkdir "$link"
    done
}

# Runs a command every 0.1 s until it succeeds, for at most some seconds; a
# device, a window or a file that some program is about to make.
# Usage: wait_until <seconds> <command...>
wait_until() {
    local tries=$(($1 * 10))
    shift
    while [ "$tries" -gt 0 ]; do
        "$@" 2>/dev/null && return 0
        tries=$((tries - 1))
        sleep 0.1
    done
    return 1
}

# A window of that title is on the screen. Usage: window_shown <title>
window_viewable() {
    xwininfo -name "$1" 2>/dev/null | grep -q IsViewable
}

# Some window's title begins so. Usage: window_titled <start of a title>
window_titled() {
    xwininfo -root -tree | grep -qF "\"$1"
}

# Stops a background job started by the script and forgets it: the job's
# process id is in the variable named. Usage: stop_job <variable>
stop_job() {
    local -n job=$1
    [ -n "${job:-}" ] || return 0
    kill "$job" 2>/dev/null || true
    wait "$job" 2>/dev/null || true
    job=""
}

# A window's width, height and place on the screen, from what xwininfo said
# of it: "w h x y". Usage: window_box <xwininfo output>
window_box() {
    awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
         /Width:/ {w = $NF} /Height:/ {h = $NF} END {print w, h, x, y}' "$1"
}

# The screen as it is now, in <shot>.png, and where the window of that title
# is, in <shot>.window. Usage: snap_window <title> <shot>
snap_window() {
    xwininfo -name "$1" >"$2.window" 2>&1 || true
    import -window root "$2.png"
}

# Writes what the display of the window in <shot>.window reads on the
# screenshot <shot>.png (the client area under the menu bar, the window's
# bottom 136 pixels), by OCR, to <shot>.txt. Usage: read_shot <shot>
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

# A period as the display shows it: "0.7秒", " 1.5秒", " 2秒". Usage: shows_period <shot>
shows_period() {
    grep -qE '^[0-9]{1,2}(\.[0-9])?秒$' "$1.txt"
}

# The not-connected notice "Perixが接続されていません!", by its beginning,
# which OCR reads surely.
shows_notice() {
    grep -q '^Perixが' "$1.txt"
}

# The main window by its title: "Tolvane", or "Tolvane - 記録中" while it
# keeps a record. Usage: main_window_id; main_window_shown
main_window_id() {
    xdotool search --onlyvisible --name '^Tolvane( - |$)' 2>/dev/null | head -n 1
}
main_window_shown() {
    [ -n "$(main_window_id)" ]
}

# Starts a window program under Wine on its own Xvfb, in a folder, lets its
# window run for some seconds, and reads its display (read_shot) from the
# screenshot <shot>.png into <shot>.txt. The command is what Wine runs: a
# program, or "start /unix <shortcut>".
# Usage: read_display <folder> <seconds> <shot> <command...>
read_display() {
    "${xvfb[@]}" bash -c '
        source "$1"
        cd "$2"
        seconds=$3 shot=$4
        shift 4
        "$wine" "$@" >/dev/null 2>&1 &
        # The first start in a new prefix first gathers the fonts.
        wait_until 60 main_window_shown
        sleep "$seconds"
        xwininfo -id "$(main_window_id)" >"$shot.window" 2>&1 || true
        import -window root "$shot.png"
        "$wineserver" -k
        wait' _ "${BASH_SOURCE[0]}" "$@"
    read_shot "$3"
}
