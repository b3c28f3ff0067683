# shellcheck shell=bash
# The box side of the serial step: perix-sim from the Linux build, and the
# prefix's COM ports pinned to links in the run's own folder that the checks
# point at perix-sim's pseudo-terminal or at nothing.
#
# Wine rebuilds its dosdevices/comN links at every start from whatever
# /dev/ttyS* exist, so a link written there by hand does not last. The
# prefix's registry pins the ports instead: no real serial port is opened or
# configured.

# The COM ports the prefix pins; a check that needs another one adds it here.
serial_ports=(1 2 3 4)
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
check_pinned_ports() {
    local n target wrong="" others names pinned
    names=$(printf 'COM%s,' "${serial_ports[@]}")
    names=${names%,}
    pinned=$(printf '%s|' "${serial_ports[@]}")
    for n in "${serial_ports[@]}"; do
        target=$(readlink "$WINEPREFIX/dosdevices/com$n" || echo "(none)")
        [ "$target" = "$run/com$n" ] || wrong+=" com$n -> $target"
    done
    others=$(find "$WINEPREFIX/dosdevices" -maxdepth 1 -name 'com*' -printf '%f -> %l\n' |
        grep -vE "^com(${pinned%|}) " | paste -sd ',' || true)
    if [ -z "$wrong" ]; then
        passed "$names pinned" "dosdevices/comN -> $run/comN${others:+ (never used here: $others)}"
    else
        failed "$names pinned" "$wrong; no program is started on them"
        return 1
    fi
}
