#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# tolvane_<version>_amd64.deb in the build folder (default: build).
# Usage: scripts/package.sh [build-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$(realpath -m "${1:-$root/build}")"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$dir"
rm -f "$dir"/tolvane_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=("$dir"/tolvane_*_amd64.deb)
echo "${deb[0]}"
