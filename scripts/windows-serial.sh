# shellcheck shell=bash
# The serial step of scripts/windows.sh, which sources this file: the zip's
# tolvane.exe and perix-io.exe on Wine's COM ports, with perix-sim from the
# Linux build as the box. Every check prints one PASS or FAIL line; the step
# fails if any check failed. The checks live by what they check:
#   windows-serial-box.sh      perix-sim, and the COM ports pinned to it
#   windows-serial-perix-io.sh perix-io.exe against perix-io on Linux
#   windows-serial-tolvane.sh  tolvane.exe's display and sensitivity dialog, and
#                              the box found on COM7 while COM1 is silent
# A new check is a function in one of them, named in serial_checks below.
#
# Uses from windows.sh and wine-helpers.sh: root, dir, name, wine, wineserver,
# new_prefix, wait_until, stop_job, passed, failed, check_failures and the
# screenshot and OCR helpers.

# shellcheck source=scripts/windows-serial-box.sh
source "$root/scripts/windows-serial-box.sh"
# shellcheck source=scripts/windows-serial-perix-io.sh
source "$root/scripts/windows-serial-perix-io.sh"
# shellcheck source=scripts/windows-serial-tolvane.sh
source "$root/scripts/windows-serial-tolvane.sh"

# The checks, in this order, once the ports are pinned.
serial_checks=(
    check_perix_io
    check_perix_io_silent_box
    check_tolvane_silent_box
    check_nothing_behind
    check_tolvane_measuring
    check_box_found_elsewhere
)

# How long a Windows program may take before it counts as hung.
serial_timeout=30

# Ends what the step started, also when it stops half-way.
end_serial_run() {
    stop_tolvane
    stop_sim
    "$wineserver" -k 2>/dev/null || true
    stop_job xvfb_pid
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
    wait_until 5 test -s "$run/display"
    export DISPLAY=":$(cat "$run/display")"
    # One Wine server for all the runs (its dumps of its objects are of no
    # use here); the first program's start rebuilds dosdevices.
    "$wineserver" -p >/dev/null 2>&1
    "$wine" reg query 'HKLM\Software\Wine\Ports' >/dev/null 2>&1

    check_failures=0
    if check_pinned_ports; then
        local check
        for check in "${serial_checks[@]}"; do
            "$check"
        done
    fi
    end_serial_run
    trap - EXIT
    echo "Serial checks: $check_failures failed (screenshots and logs: $run)"
    [ "$check_failures" -eq 0 ]
}
