# shellcheck shell=bash
# The serial step's checks of perix-io.exe: the same answers as perix-io on
# Linux, on the same box, and every write reaching the box.

# perix-sim's channel 2 and digital inputs, so that reads have known answers.
sim_analog2=137
sim_inputs=170 # 10101010: inputs 1, 3, 5 and 7 on
# How many writes in a row must all reach the box.
write_runs=20

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

# The box must have seen a write from both programs: two more lines.
# Usage: box_got <perix-sim's line> <how many it had before>
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
    local n got=0 status lost=""
    for n in $(seq "$write_runs"); do
        status=0
        (cd "$folder" && timeout "$serial_timeout" "$wine" perix-io.exe 1 write 1 "$n" \
            >"$run/write-$n.out" 2>&1) || status=$?
        echo "exit $status" >>"$run/write-$n.out"
    done
    sleep 0.2 # perix-sim reports what it was sent every 50 ms
    for n in $(seq "$write_runs"); do
        if [ "$(sim_saw "Channel 1 written: $n\$")" -eq 0 ]; then
            # What the run said, to tell a lost write from a run that gave up.
            lost+=" $n ($(tail -n 1 "$run/write-$n.out"))"
        else
            got=$((got + 1))
        fi
    done
    if [ "$got" -eq "$write_runs" ]; then
        passed "perix-io.exe 1 write 1 N, N = 1..$write_runs" "perix-sim got all $got writes"
    else
        failed "perix-io.exe 1 write 1 N, N = 1..$write_runs" \
            "perix-sim got $got of $write_runs writes; not:$lost (see $run/write-N.out)"
    fi
}

# A box that never answers: perix-io.exe says so as perix-io does.
check_perix_io_silent_box() {
    start_sim perix-sim-silent --silent
    plug_com 1 "$sim_device"
    compare_perix_io "silent box on COM1" '' 1 "$sim_device" read 1
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
