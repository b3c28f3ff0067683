# shellcheck shell=bash
# The serial step of scripts/windows.sh, which sources this file: the zip's
# tolvane.exe and perix-io.exe on Wine's COM ports, with perix-sim from the
# Linux build as the box. Every check prints one PASS or FAIL line; the step
# fails if any check failed.
#
# Wine rebuilds its dosdevices/com1..com4 links at every start from whatever
# /dev/ttyS* exist, so a link written there by hand does not last. The
# prefix's registry pins COM1..COM4 and COM7 instead, to links in the run's own
# folder that the checks point at perix-sim's pseudo-terminal or at nothing;
# the ports Wine makes of the machine's own devices are pointed at nothing: no
# real serial port is opened or configured.
#
# Uses from windows.sh: root, dir, name, wine, new_prefix, window_box, read_shot,
# shows_period.

# How long a Windows program may take before it counts as hung.
serial_timeout=30
# perix-sim's channel 2 and digital inputs, so that reads have known answers.
sim_analog2=137
sim_inputs=170 # 10101010: inputs 1, 3, 5 and 7 on
# How many writes in a row must all reach the box.
write_runs=20
# The box that hangs up: after this many seconds, and back this much later.
sim_hang_up_after=20
sim_back_after=3
# A period must show within this many seconds of the window.
period_within=10
# Where to click for かんどせってい, from the window's top left corner.
menu_settei_x=100
menu_y=10

# shellcheck source=scripts/windows-search.sh
source "$root/scripts/windows-search.sh"

serial_failures=0
passed() {
    echo "PASS  $1 -- $2"
}
failed() {
    echo "FAIL  $1 -- $2"
    serial_failures=$((serial_failures + 1))
}

# Starts perix-sim with the given options; sim_device becomes the device it
# serves, sim_log its output. Usage: start_sim <log name> [option...]
start_sim() {
    sim_log="$run/$1.log"
    shift
    "$sim" "$@" >"$sim_log" 2>&1 &
    sim_pid=$!
    sim_started=$SECONDS
    sim_device=""
    for _ in $(seq 50); do
        sim_device=$(head -n 1 "$sim_log")
        [ -n "$sim_device" ] && break
        sleep 0.1
    done
    [ -n "$sim_device" ] || {
        echo "perix-sim did not start: $(cat "$sim_log")" >&2
        return 1
    }
}

stop_sim() {
    [ -n "${sim_pid:-}" ] || return 0
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
}

# Points COM<n> at a device, or at nothing when none is given.
plug_com() {
    ln -sfn "${2:-$run/nothing}" "$run/com$1"
}

# One perix-io run as "exit N", then its output and its errors, with the
# port's name (COM1 (COM1) on Windows, the device on Linux) read as PORT and
# Windows line ends made plain. Usage: perix_io_run <exe|linux> <port> <device> <args...>
perix_io_run() {
    local how=$1 port=$2 device=$3 status=0
    shift 3
    if [ "$how" = exe ]; then
        (cd "$folder" && timeout "$serial_timeout" "$wine" perix-io.exe "$port" "$@" \
            >"$run/io.out" 2>"$run/io.err") || status=$?
    else
        timeout "$serial_timeout" "$io" "$device" "$@" >"$run/io.out" 2>"$run/io.err" ||
            status=$?
    fi
    echo "exit $status"
    cat "$run/io.out" "$run/io.err" | tr -d '\r' |
        sed -e "s|COM$port (COM$port)|PORT|g" -e "s|$device|PORT|g"
}

# perix-io on Linux with the device and perix-io.exe on COM<port>, with the
# same arguments: the same exit status and the same texts, or a FAIL. A mask
# (a sed expression) hides what may differ between two runs, such as a
# brightness. The check is named after the Windows command and the box.
# Usage: compare_perix_io <box> <mask> <port> <device> <args...>
compare_perix_io() {
    local box=$1 mask=$2 port=$3 device=$4
    shift 4
    local what="perix-io.exe $port $*, $box"
    perix_io_run linux "$port" "$device" "$@" >"$run/linux.txt"
    perix_io_run exe "$port" "$device" "$@" >"$run/windows.txt"
    local seen
    seen=$(sed -n '2,$p' "$run/windows.txt" | paste -sd '|')
    if cmp -s <(sed -e "$mask" "$run/linux.txt") <(sed -e "$mask" "$run/windows.txt"); then
        passed "$what" "$(head -n 1 "$run/windows.txt") as on Linux: $seen"
    else
        failed "$what" "Linux: $(paste -sd '|' "$run/linux.txt"); Windows: $(paste -sd '|' "$run/windows.txt")"
    fi
}

# How many lines of the running perix-sim's output match a pattern.
sim_saw() {
    grep -c -- "$1" "$sim_log" || true
}

# The COM ports pinned: COM1..COM4, and a USB adapter's kind of number for
# the search (scripts/windows-search.sh).
pinned_coms="1 2 3 4 $search_com"

# The pinned ports in the prefix's registry, each to a link in the run's
# folder; the keys count from Wine's next start.
pin_com_ports() {
    local n
    for n in $pinned_coms; do
        "$wine" reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /t REG_SZ /d "$run/com$n" /f \
            >/dev/null 2>&1
        plug_com "$n"
    done
    /usr/lib/wine/wineserver -w
}

# Wine also makes a COM port, numbered after the pinned ones, of every
# /dev/ttyS*, /dev/ttyUSB* and /dev/ttyACM* there is. Tolvane would probe
# them when it searches for the box: each is pointed at nothing, until Wine's
# next start, so that no real port is opened.
check_pinned_ports() {
    local n target wrong="" link others=""
    for n in $pinned_coms; do
        target=$(readlink "$WINEPREFIX/dosdevices/com$n" || echo "(none)")
        [ "$target" = "$run/com$n" ] || wrong+=" com$n -> $target"
    done
    for link in "$WINEPREFIX"/dosdevices/com*; do
        if [ ! -L "$link" ] || [[ "$(readlink "$link")" == "$run"/* ]]; then
            continue
        fi
        others+=" ${link##*/} (was $(readlink "$link"))"
        ln -sfn "$run/nothing" "$link"
    done
    if [ -z "$wrong" ]; then
        passed "COM ports pinned" "dosdevices/com{${pinned_coms// /,}} -> $run/com{${pinned_coms// /,}}${others:+; pointed at nothing:$others}"
    else
        failed "COM ports pinned" "$wrong; no program is started on them"
        return 1
    fi
}

# ---- tolvane.exe: its window and its display ----------------------------------

start_tolvane() {
    (cd "$folder" && exec "$wine" tolvane.exe >/dev/null 2>&1) &
    tolvane_pid=$!
    window_shown=""
    local start=$SECONDS
    # The first window in a new prefix waits for Wine to gather the fonts.
    while [ $((SECONDS - start)) -lt 60 ]; do
        if xwininfo -name Tolvane 2>/dev/null | grep -q IsViewable; then
            window_shown=$SECONDS
            return 0
        fi
        sleep 0.3
    done
    return 1
}

stop_tolvane() {
    [ -n "${tolvane_pid:-}" ] || return 0
    kill "$tolvane_pid" 2>/dev/null || true
    wait "$tolvane_pid" 2>/dev/null || true
    tolvane_pid=""
}

# Reads the main window's display now; the text lands in shot_text, the
# screenshot in <shot>.png. Usage: snap_display <shot>
snap_display() {
    xwininfo -name Tolvane >"$1.window" 2>&1 || true
    import -window root "$1.png"
    read_shot "$1"
    shot_text=$(cat "$1.txt")
}

# Reads the display again and again until a test of the shot holds, at most
# for some seconds. Usage: watch_display <seconds> <shot> <test>
watch_display() {
    local until=$((SECONDS + $1)) shot=$2 test=$3 n=0
    while :; do
        n=$((n + 1))
        snap_display "$shot-$n"
        if "$test" "$shot-$n"; then
            seen_at=$SECONDS
            return 0
        fi
        [ "$SECONDS" -lt "$until" ] || return 1
        sleep 0.5
    done
}

# The not-connected notice "Perixが接続されていません!": in the display's
# large type only its first line, "Perixが", fits the window.
shows_notice() {
    grep -q '^Perixが' "$1.txt"
}

# The sensitivity dialog's live brightness (Label3 in Frame1), by OCR.
read_brightness() {
    local shot=$1 x y
    xwininfo -name 'Tolvaneのせってい' >"$shot.window" 2>&1 || return 1
    import -window root "$shot.png"
    read -r _ _ x y < <(window_box "$shot.window")
    # Frame1 at (176, 40), Label3 at (24, 120) in it, 137 x 41 pixels.
    convert "$shot.png" -crop "137x41+$((x + 200))+$((y + 160))" +repage \
        -resize 300% "$shot-brightness.png"
    tesseract "$shot-brightness.png" - --psm 7 -c tessedit_char_whitelist=0123456789 \
        2>/dev/null | tr -d ' \n'
}

# Opens the sensitivity dialog the way a teacher does: a click on かんどせってい,
# the second item of the menu bar, just right of おわり.
open_sensitivity_dialog() {
    local x y
    xwininfo -name Tolvane >"$run/menu.window" 2>&1 || return 1
    read -r _ _ x y < <(window_box "$run/menu.window")
    xdotool mousemove $((x + menu_settei_x)) $((y + menu_y)) click 1
    for _ in $(seq 20); do
        xwininfo -name 'Tolvaneのせってい' 2>/dev/null | grep -q IsViewable && return 0
        sleep 0.3
    done
    import -window root "$run/menu.png"
    return 1
}

# ---- the checks ---------------------------------------------------------------

check_perix_io() {
    start_sim perix-sim-io --analog2 "$sim_analog2" --inputs "$sim_inputs"
    plug_com 1 "$sim_device"
    local box="box on COM1" before
    # The brightness changes from one read to the next: its numbers are
    # compared as N, the exit status as it is.
    compare_perix_io "$box" '2,$ s/[0-9][0-9]*/N/g' 1 "$sim_device" read 1
    compare_perix_io "$box" '' 1 "$sim_device" read 2
    compare_perix_io "$box" '' 1 "$sim_device" bit 3
    compare_perix_io "$box" '' 1 "$sim_device" bit 4
    before=$(sim_saw 'Channel 2 written: 99$')
    compare_perix_io "$box" '' 1 "$sim_device" write 2 99
    box_got "Channel 2 written: 99" "$before"
    before=$(sim_saw 'Digital outputs: 32 = 00100000')
    compare_perix_io "$box" '' 1 "$sim_device" set 5 on
    box_got "Digital outputs: 32 = 00100000" "$before"
    before=$(sim_saw 'Digital outputs: 0 = 00000000')
    compare_perix_io "$box" '' 1 "$sim_device" set 5 off
    box_got "Digital outputs: 0 = 00000000" "$before"
    check_writes_arrive
    stop_sim
}

# perix-io.exe writes and ends at once, and closing its port must not drop
# the write. Before closing waited for it, about one run in twenty lost it:
# hence twenty runs in a row.
check_writes_arrive() {
    local n got=0
    for n in $(seq "$write_runs"); do
        (cd "$folder" && timeout "$serial_timeout" "$wine" perix-io.exe 1 write 1 "$n" \
            >/dev/null 2>&1) || true
    done
    sleep 0.2 # perix-sim reports what it was sent every 50 ms
    for n in $(seq "$write_runs"); do
        [ "$(sim_saw "Channel 1 written: $n\$")" -eq 0 ] || got=$((got + 1))
    done
    if [ "$got" -eq "$write_runs" ]; then
        passed "perix-io.exe 1 write 1 N, N = 1..$write_runs" "perix-sim got all $got writes"
    else
        failed "perix-io.exe 1 write 1 N, N = 1..$write_runs" "perix-sim got $got of $write_runs writes"
    fi
}

# The box must have seen a write from both programs: two more lines.
box_got() {
    local now
    sleep 0.2 # perix-sim reports what it was sent every 50 ms
    now=$(sim_saw "$1")
    if [ "$now" -eq $(($2 + 2)) ]; then
        passed "perix-sim got it" "\"$1\" from perix-io and from perix-io.exe"
    else
        failed "perix-sim got it" "\"$1\" $((now - $2)) times, not twice"
    fi
}

check_silent_box() {
    start_sim perix-sim-silent --silent
    plug_com 1 "$sim_device"
    compare_perix_io "silent box on COM1" '' 1 "$sim_device" read 1
    local what="tolvane.exe, silent box on COM1"
    if ! start_tolvane; then
        failed "$what" "no window named Tolvane within 60 s"
    elif watch_display 8 "$run/silent" shows_notice; then
        passed "$what" "the display shows $shot_text, $((seen_at - window_shown)) s after the window"
    else
        failed "$what" "the display shows $shot_text, not the notice (see $run/silent-*.png)"
    fi
    stop_tolvane
    stop_sim
}

# COM2 leads nowhere. Where Windows would have no COM2 at all, Wine keeps a
# device for every pinned port: the port opens, and its first serial call
# fails with "Invalid function". That answer, exit 5, may stand for Linux's
# "no such port", exit 3; anything else must be as on Linux.
check_nothing_behind() {
    plug_com 2
    local what="perix-io.exe 2 read 1, nothing behind COM2" linux windows
    perix_io_run linux 2 "$run/com2" read 1 >"$run/linux.txt"
    perix_io_run exe 2 "$run/com2" read 1 >"$run/windows.txt"
    linux=$(paste -sd '|' "$run/linux.txt")
    windows=$(paste -sd '|' "$run/windows.txt")
    if [ "$linux" = "$windows" ]; then
        passed "$what" "${windows/|/ as on Linux: }"
    elif [[ "$linux" == "exit 3|ポート PORT を開けません (ありません)。 / Cannot open port PORT: no such port." &&
        "$windows" == "exit 5|ポート PORT を開けません。 / Cannot open port PORT. (cannot open COM2: Invalid function.)" ]]; then
        passed "$what" "${windows/|/: } (Linux, with no device: ${linux/|/: }; Wine keeps a device for the pinned port)"
    else
        failed "$what" "Linux: $linux; Windows: $windows"
    fi
}

# One run of tolvane.exe against a box that hangs up and comes back: a
# period, the notice, periods again, then the sensitivity dialog.
check_tolvane_measuring() {
    start_sim perix-sim-hang-up --hang-up-after "$sim_hang_up_after" --back-after "$sim_back_after"
    plug_com 1 "$sim_device"
    if ! start_tolvane; then
        failed "tolvane.exe, box on COM1" "no window named Tolvane within 60 s"
        stop_sim
        return
    fi
    local what="tolvane.exe, box on COM1"
    if watch_display "$period_within" "$run/period" shows_period; then
        passed "$what" "the display shows $shot_text, $((seen_at - window_shown)) s after the window"
    else
        failed "$what" "after $period_within s the display shows $shot_text (see $run/period-*.png)"
    fi

    local hung_up_at=$((sim_started + sim_hang_up_after))
    [ "$SECONDS" -lt "$hung_up_at" ] || failed "$what" "perix-sim hung up before the checks were ready"
    sleep $((hung_up_at - SECONDS > 0 ? hung_up_at - SECONDS : 0))
    what="tolvane.exe, box on COM1 hung up"
    if watch_display 8 "$run/hung-up" shows_notice; then
        passed "$what" "the display shows $shot_text, $((seen_at - hung_up_at)) s after perix-sim hung up"
        what="tolvane.exe, box back on COM1"
        if watch_display 15 "$run/back" shows_period; then
            passed "$what" "the display shows $shot_text, $((seen_at - hung_up_at - sim_back_after)) s after perix-sim came back"
        else
            failed "$what" "the display shows $shot_text (see $run/back-*.png)"
        fi
    else
        failed "$what" "the display shows $shot_text, not the notice (see $run/hung-up-*.png)"
    fi

    check_sensitivity_dialog
    stop_tolvane
    stop_sim
}

check_sensitivity_dialog() {
    local what="sensitivity dialog, box on COM1"
    if ! open_sensitivity_dialog; then
        failed "$what" "no dialog after a click on かんどせってい (see $run/menu.png)"
        return
    fi
    sleep 1
    local readings=() value n distinct good=1
    for n in 1 2 3 4 5 6; do
        value=$(read_brightness "$run/dialog-$n" || true)
        readings+=("${value:-?}")
        sleep 0.5
    done
    # A live reading changes: perix-sim's light has noise, drift and dips.
    distinct=$(printf '%s\n' "${readings[@]}" | sort -u | wc -l)
    for value in "${readings[@]}"; do
        [[ "$value" =~ ^[0-9]{1,3}$ ]] && [ "$value" -le 255 ] || good=0
    done
    if [ "$good" -eq 1 ] && [ "$distinct" -ge 2 ]; then
        passed "$what" "its brightness read ${readings[*]} over 3 s"
    else
        failed "$what" "its brightness read ${readings[*]} (see $run/dialog-*.png)"
    fi
}

# Ends what the step started, also when it stops half-way.
end_serial_run() {
    stop_tolvane
    stop_sim
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    unset WINEPREFIX DISPLAY
}

step_serial() {
    if [ ! -x "$wine" ]; then
        echo "FAIL  Wine -- no $wine: the serial checks cannot run" >&2
        return 1
    fi
    sim="$root/build/tools/perix-sim/perix-sim"
    io="$root/build/tools/perix-io/perix-io"
    if [ ! -x "$sim" ] || [ ! -x "$io" ]; then
        echo "The serial step needs perix-sim and perix-io from the Linux build: building it."
        "$root/scripts/build.sh" default >"$dir/linux-build.log" 2>&1 ||
            { tail -n 20 "$dir/linux-build.log"; return 1; }
    fi
    run="$dir/serial"
    rm -rf "$run"
    mkdir -p "$run"
    export WINEPREFIX="$run/prefix"
    new_prefix "$WINEPREFIX"
    pin_com_ports
    unzip -q "$dir/$name.zip" -d "$WINEPREFIX/drive_c"
    folder="$WINEPREFIX/drive_c/$name"

    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/display" 2>"$run/xvfb.log" &
    xvfb_pid=$!
    trap end_serial_run EXIT
    for _ in $(seq 50); do
        [ -s "$run/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(cat "$run/display")"
    # One Wine server for all the runs (its dumps of its objects are of no
    # use here); the first program's start rebuilds dosdevices.
    /usr/lib/wine/wineserver -p >/dev/null 2>&1
    "$wine" reg query 'HKLM\Software\Wine\Ports' >/dev/null 2>&1

    serial_failures=0
    if check_pinned_ports; then
        run_serial_checks
    fi
    end_serial_run
    trap - EXIT
    echo "Serial checks: $serial_failures failed (screenshots and logs: $run)"
    [ "$serial_failures" -eq 0 ]
}

run_serial_checks() {
    check_perix_io
    check_silent_box
    check_nothing_behind
    check_tolvane_measuring
    check_box_found_elsewhere
}
