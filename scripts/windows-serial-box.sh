# shellcheck shell=bash
# The box side of the serial step: perix-sim from the Linux build, and the
# prefix's COM ports pinned to links in the run's own folder that the checks
# point at perix-sim's pseudo-terminal or at nothing.
#
# Wine rebuilds its dosdevices/comN links at every start from whatever
# /dev/ttyS* exist, so a link written there by hand does not last. The
# prefix's registry pins the ports instead, and the ports Wine makes of the
# machine's own devices are pointed at nothing: no real serial port is opened
# or configured.

# The COM ports the prefix pins; a check that needs another one adds it here.
# COM7: the box found by its answer on a USB adapter's kind of number.
serial_ports=(1 2 3 4 7)
# How long perix-sim may take to print its device; seconds on a busy machine.
sim_start_within=15

# Starts perix-sim with the given options; sim_device becomes the device it
# serves, sim_log its output. Usage: start_sim <log name> [option...]
start_sim() {
    sim_log="$run/$1.log"
    shift
    # Emptied here, not by the redirection below: that one happens in the
    # child, later, and a log of the same name from an earlier check would
    # pass for this one's until then.
    : >"$sim_log"
    "$sim" "$@" >"$sim_log" 2>&1 &
    sim_pid=$!
    sim_started=$SECONDS
    sim_device=""
    wait_until "$sim_start_within" test -s "$sim_log" && sim_device=$(head -n 1 "$sim_log")
    [ -n "$sim_device" ] || {
        echo "perix-sim did not start: $(cat "$sim_log")" >&2
        return 1
    }
}

stop_sim() {
    stop_job sim_pid
}

# How many lines of the running perix-sim's output match a pattern.
sim_saw() {
    grep -c -- "$1" "$sim_log" || true
}

# Points COM<n> at a device, or at nothing when none is given.
# Usage: plug_com <n> [device]
plug_com() {
    ln -sfn "${2:-$run/nothing}" "$run/com$1"
}

# The serial ports pinned in the prefix's registry to links in the run's
# folder, all leading nowhere yet; the keys count from Wine's next start.
pin_com_ports() {
    local n
    for n in "${serial_ports[@]}"; do
        "$wine" reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /t REG_SZ /d "$run/com$n" /f \
            >/dev/null 2>&1
        plug_com "$n"
    done
    "$wineserver" -w
}

# Wine, started again, took the pinned ports: dosdevices leads to our links.
# Wine also makes a COM port, numbered after the pinned ones, of every
# /dev/ttyS*, /dev/ttyUSB* and /dev/ttyACM* there is. tolvane.exe would probe
# them when it searches for the box: each is pointed at nothing, until Wine's
# next start, so that no real port is opened.
check_pinned_ports() {
    local n target wrong="" link others="" names
    names=$(printf 'COM%s,' "${serial_ports[@]}")
    names=${names%,}
    for n in "${serial_ports[@]}"; do
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
        passed "$names pinned" "dosdevices/comN -> $run/comN${others:+; pointed at nothing:$others}"
    else
        failed "$names pinned" "$wrong; no program is started on them"
        return 1
    fi
}
