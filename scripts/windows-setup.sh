# shellcheck shell=bash
# The setup and install steps of scripts/windows.sh, which sources this file:
# the setup program beside the zip, and what a teacher and a school's IT do
# with it, in a fresh Wine prefix: a silent install for the current user, the
# demo started from its Start-menu shortcut, an upgrade, the quiet uninstall;
# then the same for all users. One PASS or FAIL line per check.
#
# Uses from windows.sh and wine-helpers.sh: root, dir, version, wine,
# wineserver, new_prefix, read_display, shows_period, passed, failed.

setup_name="tolvane-$version-setup.exe"
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvane'
menu_main='Tolvane ふりこの周期.lnk'
menu_demo='Tolvane デモ (Perix なし).lnk'
menu_settings='設定ファイル (Tv.txt).lnk'
menu_readme='はじめにお読みください (README).lnk'

step_setup() {
    cmake --build "$dir" --target windows-setup
    ls -l "$dir/$setup_name"
}

# A Windows folder of the prefix as a Linux path. Usage: unix_path <C:\...>
unix_path() {
    "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'
}

# What a Windows environment variable holds in the prefix. Usage: win_env <name>
win_env() {
    "$wine" cmd /c "echo %$1%" 2>/dev/null | tr -d '\r'
}

# Runs a Windows program and waits for everything it started (the uninstaller
# runs on from a copy of itself). Prints its exit status. Usage: run_windows <exe> <args...>
run_windows() {
    local status=0
    "$wine" "$@" >/dev/null 2>&1 || status=$?
    "$wineserver" -w
    echo "$status"
}

# The uninstall entry as reg prints it, into <file>. Usage: read_entry <HKCU|HKLM> <file>
read_entry() {
    "$wine" reg query "$1\\$uninstall_key" 2>/dev/null | tr -d '\r' >"$2" || true
}

# One value of the entry read by read_entry, or nothing. Usage: entry_value <file> <name>
entry_value() {
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p" "$1"
}

# A shortcut leads to a file and starts in a folder: the .lnk holds the target
# as a plain string and the working folder as a UTF-16 one.
# Usage: shortcut_is <lnk> <target> <folder>
shortcut_is() {
    strings -a "$1" | grep -qxF "$2" &&
        strings -a -e l "$1" |
        d="$3" awk 'substr($0, length($0) - length(ENVIRON["d"]) + 1) == ENVIRON["d"] {f = 1}
                    END {exit !f}'
}

# The setup in one mode: files, shortcuts and entry where they belong.
# Usage: check_installed <what> <HKCU|HKLM> <folder, Windows> <Start-menu folder, Windows>
check_installed() {
    local what=$1 hive=$2 folder=$3 menu=$4 missing="" file lnk
    local unix_folder unix_menu
    unix_folder=$(unix_path "$folder")
    unix_menu=$(unix_path "$menu")
    while read -r file; do
        [ -f "$unix_folder/$file" ] || missing+=" $file"
    done < <(cd "$dir/zip/$name" && find . -type f -printf '%P\n')
    [ -f "$unix_folder/uninstall.exe" ] || missing+=" uninstall.exe"
    if [ -z "$missing" ]; then
        passed "$what: files" "the zip's $(cd "$dir/zip/$name" && find . -type f | wc -l) files and uninstall.exe in $folder"
    else
        failed "$what: files" "missing in $folder:$missing"
    fi

    # Explorer's Details and inventory tools read the version resource.
    local exe unversioned=""
    for exe in tolvane.exe tolvane-demo.exe perix-io.exe; do
        [ "$(strings -a -e l -n 3 "$unix_folder/$exe" | grep -A1 -x ProductVersion | tail -n 1)" = "$version" ] &&
            strings -a -e l "$unix_folder/$exe" | grep -A1 -x ProductName | grep -qx Tolvane ||
            unversioned+=" $exe"
    done
    if [ -z "$unversioned" ]; then
        passed "$what: version resources" "tolvane.exe, tolvane-demo.exe, perix-io.exe: Tolvane $version"
    else
        failed "$what: version resources" "no ProductName Tolvane, ProductVersion $version in$unversioned"
    fi

    local wrong=""
    shortcut_is "$unix_menu/$menu_main" "$folder\\tolvane.exe" "$folder" || wrong+=" $menu_main"
    shortcut_is "$unix_menu/$menu_demo" "$folder\\tolvane-demo.exe" "$folder" || wrong+=" $menu_demo"
    [ -f "$unix_menu/$menu_settings" ] && strings -a -e l "$unix_menu/$menu_settings" |
        grep -qF "\"$folder\\Tv.txt\"" || wrong+=" $menu_settings"
    shortcut_is "$unix_menu/$menu_readme" "$folder\\README.txt" "$folder" || wrong+=" $menu_readme"
    if [ -z "$wrong" ]; then
        passed "$what: Start menu" "$menu: the two programs starting in $folder, Tv.txt in Notepad, README"
    else
        failed "$what: Start menu" "wrong or missing in $menu:$wrong"
    fi

    local value bad="" entry="$check/entry.txt"
    read_entry "$hive" "$entry"
    for value in DisplayName Publisher DisplayIcon EstimatedSize UninstallString QuietUninstallString; do
        [ -n "$(entry_value "$entry" "$value")" ] || bad+=" no $value;"
    done
    [ "$(entry_value "$entry" DisplayVersion)" = "$version" ] || bad+=" DisplayVersion not $version;"
    [ "$(entry_value "$entry" InstallLocation)" = "$folder" ] || bad+=" InstallLocation not $folder;"
    [ "$(entry_value "$entry" QuietUninstallString)" = "\"$folder\\uninstall.exe\" /S" ] ||
        bad+=" QuietUninstallString: $(entry_value "$entry" QuietUninstallString);"
    if [ -z "$bad" ]; then
        passed "$what: Settings -> Apps" "$hive entry: $(entry_value "$entry" DisplayName) $version, $(entry_value "$entry" Publisher), $(($(entry_value "$entry" EstimatedSize))) KiB"
    else
        failed "$what: Settings -> Apps" "$hive entry:$bad"
    fi
}

# After the quiet uninstall: no program, shortcut or entry, the records kept,
# and the prefix's files as before the setup but for the records and Wine's
# own temporary files. Usage: check_removed <what> <hive> <folder> <menu> <files before>
check_removed() {
    local what=$1 hive=$2 folder=$3 menu=$4 before=$5 left
    [ ! -e "$(unix_path "$folder")" ] || left+=" $folder"
    [ ! -e "$(unix_path "$menu")" ] || left+=" $menu"
    "$wine" reg query "$hive\\$uninstall_key" >/dev/null 2>&1 && left+=" the $hive entry"
    local added
    added=$(comm -13 "$before" <(prefix_files) | grep -v '/Documents/Tolvane/' | paste -sd ',' || true)
    if [ -z "${left:-}" ] && [ -z "$added" ]; then
        passed "$what: uninstalled" "nothing left in the prefix but the records"
    else
        failed "$what: uninstalled" "left:${left:-}${added:+ $added}"
    fi
}

# The prefix's files, but Wine's temporary ones.
prefix_files() {
    (cd "$WINEPREFIX/drive_c" && find . -type f -not -path '*/Temp/*' | sort)
}

# The teacher's way: setup.exe /S for the current user, the demo from the
# Start menu with the record switched on in the installed Tv.txt, setup.exe
# /S again over it, then the quiet uninstall from the entry.
check_current_user() {
    local what="setup.exe /S" status folder menu unix_folder records before="$check/before.txt"
    prefix_files >"$before"
    status=$(run_windows "$dir/$setup_name" /S)
    [ "$status" -eq 0 ] && passed "$what" "exit 0" || failed "$what" "exit $status"
    folder="$(win_env LOCALAPPDATA)\\Programs\\Tolvane"
    menu="$(win_env APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Tolvane"
    check_installed "$what" HKCU "$folder" "$menu"
    unix_folder=$(unix_path "$folder")
    cmp -s "$unix_folder/Tv.txt" "$dir/zip/$name/Tv.txt" ||
        failed "$what: Tv.txt" "not the sample shipped in the zip"

    # The settings shortcut opens Tv.txt in Notepad.
    if "${xvfb[@]}" bash -c '
        source "$1"
        "$wine" start /unix "$2" >/dev/null 2>&1
        wait_until 60 window_titled "Tv.txt - "
        status=$?
        "$wineserver" -k
        exit $status' _ "$root/scripts/wine-helpers.sh" "$(unix_path "$menu")/$menu_settings"; then
        passed "$menu_settings" "a Notepad window \"Tv.txt - ...\""
    else
        failed "$menu_settings" "no Notepad window with Tv.txt"
    fi

    # The demo records when Tv.txt says so: a record shows that the shortcut
    # started it in the install folder.
    sed -i "s/^'Kiroku=1/Kiroku=1/" "$unix_folder/Tv.txt"
    read_display "$check" 8 "$check/demo" start /unix "$(unix_path "$menu")/$menu_demo"
    records=$(unix_path "$(win_env USERPROFILE)\\Documents\\Tolvane")
    if shows_period "$check/demo" && compgen -G "$records/tolvane-*.csv" >/dev/null; then
        passed "$menu_demo" "shows $(cat "$check/demo.txt"), Kiroku=1 from the installed Tv.txt: $(ls "$records")"
    else
        failed "$menu_demo" "shows $(cat "$check/demo.txt") (see $check/demo.png); records: $(ls "$records" 2>&1)"
    fi

    what="setup.exe /S again (upgrade)"
    status=$(run_windows "$dir/$setup_name" /S)
    local entries
    entries=$("$wine" reg query "HKCU\\${uninstall_key%\\Tolvane}" 2>/dev/null |
        grep -c 'Uninstall\\Tolvane' || true)
    if [ "$status" -eq 0 ] && [ "$entries" -eq 1 ] && grep -q '^Kiroku=1' "$unix_folder/Tv.txt"; then
        passed "$what" "exit 0, one entry, the changed Tv.txt kept"
    else
        failed "$what" "exit $status, $entries entries, Tv.txt: $(grep -a Kiroku "$unix_folder/Tv.txt")"
    fi
    check_installed "$what" HKCU "$folder" "$menu"

    what="QuietUninstallString"
    status=$(run_windows "$unix_folder/uninstall.exe" /S)
    [ "$status" -eq 0 ] || failed "$what" "exit $status"
    check_removed "$what" HKCU "$folder" "$menu" "$before"
}

# The school's IT: setup.exe /S /ALLUSERS, for every user, and its removal.
check_all_users() {
    local what="setup.exe /S /ALLUSERS" status folder menu before="$check/before-all.txt"
    prefix_files >"$before"
    status=$(run_windows "$dir/$setup_name" /S /ALLUSERS)
    [ "$status" -eq 0 ] && passed "$what" "exit 0" || failed "$what" "exit $status"
    folder="$(win_env ProgramFiles)\\Tolvane"
    menu="$(win_env ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs\\Tolvane"
    check_installed "$what" HKLM "$folder" "$menu"
    status=$(run_windows "$(unix_path "$folder")/uninstall.exe" /S)
    [ "$status" -eq 0 ] || failed "$what, uninstall.exe /S" "exit $status"
    check_removed "$what, uninstall.exe /S" HKLM "$folder" "$menu" "$before"
}

step_install() {
    check="$dir/setup-check"
    rm -rf "$check"
    mkdir -p "$check"
    export WINEPREFIX="$check/prefix"
    new_prefix "$WINEPREFIX"
    check_failures=0
    check_current_user
    check_all_users
    "$wineserver" -k 2>/dev/null || true
    unset WINEPREFIX
    echo "Setup checks: $check_failures failed ($(du -k "$dir/$setup_name" | cut -f1) KiB setup; logs and screenshot: $check)"
    [ "$check_failures" -eq 0 ]
}
