# shellcheck shell=bash
# The serial step's checks of tolvane.exe: its display against a box that
# answers, one that is silent and one that hangs up and comes back, and the
# live brightness in its sensitivity dialog. The display is read by OCR.

# The box that hangs up: after this many seconds, and back this much later.
sim_hang_up_after=20
sim_back_after=3
# A period must show within this many seconds of the window.
period_within=10
# Where to click for かんどせってい, from the window's top left corner.
menu_settei_x=100
menu_y=10

start_tolvane() {
    (cd "$folder" && exec "$wine" tolvane.exe >/dev/null 2>&1) &
    tolvane_pid=$!
    window_shown=""
    # The first window in a new prefix waits for Wine to gather the fonts.
    wait_until 60 window_viewable Tolvane || return 1
    window_shown=$SECONDS
}

stop_tolvane() {
    stop_job tolvane_pid
}

# Reads the main window's display now; the text lands in shot_text, the
# screenshot in <shot>.png. Usage: snap_display <shot>
snap_display() {
    snap_window Tolvane "$1"
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

# The sensitivity dialog's live brightness (Label3 in Frame1), by OCR.
read_brightness() {
    local shot=$1 x y
    xwininfo -name 'Tolvaneのせってい' >/dev/null 2>&1 || return 1
    snap_window 'Tolvaneのせってい' "$shot"
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
    wait_until 6 window_viewable 'Tolvaneのせってい' && return 0
    import -window root "$run/menu.png"
    return 1
}

check_tolvane_silent_box() {
    start_sim perix-sim-silent --silent
    plug_com 1 "$sim_device"
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

# ---- the box found by its answer ----------------------------------------------

# The box on a USB adapter's kind of number while COM1 is a port on which
# nothing answers. tolvane.exe, with no Tv.txt, probes COM1 as always, then
# looks further and must measure there; perix-io.exe find must name the port.
# The port is pinned with the others (windows-serial-box.sh).
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

    # The zip's Tv.txt, all of it comments, stands aside: no Tv.txt at all.
    what="tolvane.exe, no Tv.txt, box on COM$search_com, COM1 silent"
    mv "$folder/Tv.txt" "$run/zip-Tv.txt" 2>/dev/null || true
    if ! start_tolvane; then
        failed "$what" "no window named Tolvane within 60 s"
    elif watch_display "$search_within" "$run/search" shows_period; then
        passed "$what" "the display shows $shot_text, $((seen_at - window_shown)) s after the window"
    else
        failed "$what" "after $search_within s the display shows $shot_text (see $run/search-*.png)"
    fi
    stop_tolvane
    mv "$run/zip-Tv.txt" "$folder/Tv.txt" 2>/dev/null || true
    stop_sim
    stop_job silent_pid
    plug_com 1
    plug_com "$search_com"
}
