#!/usr/bin/env bash
# Builds the Debian package and runs Debian's own checker on it, installs it
# into this machine with apt, checks the installed programs as a user would
# start them and the metainfo software centres read, and removes the package
# again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" desktop-file-utils lintian appstream
deb="$("$root/scripts/package.sh" | tail -n 1)"
echo "Package: $deb"

# lintian: no error (E:) allowed; its warnings and notes are shown for reading.
lintian_report="$(lintian --display-info --tag-display-limit 0 "$deb" 2>&1 || true)"
[ -z "$lintian_report" ] || echo "$lintian_report"
if grep -q '^E: ' <<<"$lintian_report"; then
    echo "FAIL: lintian found errors in $deb" >&2
    exit 1
fi
echo "lintian: no errors, $(grep -c '^W: ' <<<"$lintian_report" || true) warnings, $(grep -c '^I: ' <<<"$lintian_report" || true) notes"

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if dpkg-query -W -f='${Status}' tolvane 2>/dev/null | grep -q "install ok installed"; then
    echo "tolvane is installed on this machine already; this check would remove it. Stopping." >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y -q "$deb"
work="$(mktemp -d)"
cleanup() {
    "${sudo[@]}" apt-get remove -y -q --purge tolvane >/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for program in tolvane tolvane-demo perix-io perix-sim; do
    [ -x "/usr/bin/$program" ] || fail "/usr/bin/$program is missing"
done
for size in 16 22 24 32 48 64 128 256; do
    [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/tolvane.png" ] || fail "no ${size}px icon"
done
[ -f /usr/lib/udev/rules.d/70-tolvane-usb-serial.rules ] || fail "no udev rule"
desktop-file-validate /usr/share/applications/tolvane.desktop \
    /usr/share/applications/tolvane-demo.desktop
# What software centres list; no network here, so the addresses are not fetched.
appstreamcli validate --no-net /usr/share/metainfo/org.tolvane.Tolvane.metainfo.xml
for program in tolvane tolvane-demo perix-io perix-sim; do
    [ -f "/usr/share/man/man1/$program.1.gz" ] || fail "no manual page for $program"
done

# Start the demo the way its menu entry does, in an empty folder, with an
# English locale: after a few seconds it must show a half period of its 2.5 s
# pendulum (1.2 or 1.3 s; 1.0 to 1.5 allows for a busy machine) and Qt's
# Japanese buttons.
demo="$(sed -n 's/^Exec=//p' /usr/share/applications/tolvane-demo.desktop)"
report="$(cd "$work" && LANG=C.UTF-8 LANGUAGE= QT_QPA_PLATFORM=offscreen \
    timeout 60 $demo --report-after 6 2>/dev/null)" || fail "the demo did not report"
echo "$report"
grep -Eq '^display: " 1(\.[0-5])?秒"$' <<<"$report" || fail "the demo did not measure"
grep -q '^buttons: はい.* いいえ.* OK' <<<"$report" || fail "the buttons are not in Japanese"
[ -z "$(ls -A "$work")" ] || fail "the demo left files in its working folder"

# --help, --version and a mistake answer without a display or a window.
for option in --help --version; do
    env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/tolvane "$option" >/dev/null ||
        fail "tolvane $option did not answer"
done
set +e
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/tolvane --no-such-option 2>/dev/null
status=$?
set -e
[ "$status" -eq 2 ] || fail "tolvane took an unknown option (status $status)"

# The real program from its menu entry, on the installed simulated box rather
# than a real port: it must start and keep running. perix-sim prints its
# device first; stopped, it must leave no folder behind.
sim_log="$(mktemp)"
/usr/bin/perix-sim >"$sim_log" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; rm -f "$sim_log"; cleanup' EXIT
device=""
for _ in $(seq 50); do
    device="$(head -n 1 "$sim_log")"
    [ -n "$device" ] && break
    sleep 0.1
done
[ -e "$device" ] || fail "perix-sim printed no device"
program="$(sed -n 's/^Exec=//p' /usr/share/applications/tolvane.desktop)"
set +e
(cd "$work" && QT_QPA_PLATFORM=offscreen timeout 3 $program --port "$device" 2>/dev/null)
status=$?
set -e
[ "$status" -eq 124 ] || fail "tolvane ended by itself (status $status)"
/usr/bin/perix-io "$device" read 1 || fail "perix-io could not read the simulated box"
kill -TERM "$sim"
wait "$sim" || true
[ ! -e "$(dirname "$device")" ] || fail "perix-sim left $(dirname "$device") behind"

/usr/bin/perix-io --help >/dev/null
echo "Package check passed."
