#!/usr/bin/env bash
# Installs what is missing, builds, and starts tolvane-demo: the program with a
# simulated Perix box and pendulum on its serial port.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" default
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No desktop to show the window on (DISPLAY is not set)." >&2
    echo "On a machine without one: scripts/setup.sh xvfb && xvfb-run -a $root/build/app/tolvane-demo" >&2
    exit 1
fi
exec "$root/build/app/tolvane-demo"
