#!/usr/bin/env bash
# Installs what is missing, builds (the default preset, in build/), and makes
# the Debian package build/tolvane_<version>_amd64.deb; prints its path last.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" default
rm -f "$dir"/tolvane_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=("$dir"/tolvane_*_amd64.deb)
echo "${deb[0]}"
