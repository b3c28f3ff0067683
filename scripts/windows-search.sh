# shellcheck shell=bash
# A check of the serial step (scripts/windows-serial.sh sources this file):
# the box on a USB adapter's kind of number, COM7, while COM1 is a port on
# which nothing answers. tolvane.exe, with no Tv.txt, probes COM1 as always,
# then looks further and must measure on COM7; perix-io.exe find must name
# COM7.
#
# Uses from windows-serial.sh: run, folder, wine, start_sim, stop_sim,
# plug_com, start_tolvane, stop_tolvane, watch_display, shows_period,
# passed, failed, period_within, serial_timeout.

# The port the box is found on. COM7 is pinned with COM1..COM4.
search_com=7
# The search only starts after start-up's probe of COM1 and may take a few
# seconds more than a box on COM1.
search_within=$((period_within + 5))

check_box_found_elsewhere() {
    start_sim perix-sim-com1-silent --silent
    local silent_pid=$sim_pid
    plug_com 1 "$sim_device"
    start_sim perix-sim-com$search_com
    plug_com "$search_com" "$sim_device"

    local what="perix-io.exe find, box on COM$search_com, COM1 silent" status=0 said
    (cd "$folder" && timeout "$serial_timeout" "$wine" perix-io.exe find \
        >"$run/find.out" 2>"$run/find.err") || status=$?
    said=$(tr -d '\r' <"$run/find.out" | paste -sd '|')
    if [ "$status" -eq 0 ] && grep -q "The Perix box is on COM$search_com\." "$run/find.out"; then
        passed "$what" "exit 0: $said"
    else
        failed "$what" "exit $status: $said $(tr -d '\r' <"$run/find.err" | paste -sd '|')"
    fi

    what="tolvane.exe, no Tv.txt, box on COM$search_com, COM1 silent"
    if [ -e "$folder/Tv.txt" ]; then
        failed "$what" "the folder has a Tv.txt"
    elif ! start_tolvane; then
        failed "$what" "no window named Tolvane within 60 s"
    elif watch_display "$search_within" "$run/search" shows_period; then
        passed "$what" "the display shows $shot_text, $((seen_at - window_shown)) s after the window"
    else
        failed "$what" "after $search_within s the display shows $shot_text (see $run/search-*.png)"
    fi
    stop_tolvane
    stop_sim
    kill "$silent_pid" 2>/dev/null || true
    wait "$silent_pid" 2>/dev/null || true
    plug_com 1
    plug_com "$search_com"
}
