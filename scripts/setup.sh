#!/usr/bin/env bash
# Installs what building and testing Tolvane needs, from Debian 12's packages,
# and only what is missing. Extra package names may be given as arguments.
set -euo pipefail

# qt6-translations-l10n: Qt's Japanese texts, which the build puts into the
# programs.
packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-serialport-dev libgl-dev qt6-translations-l10n
          fonts-ipafont-gothic "$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null; then
    sudo=(sudo)
else
    echo "Need root (or sudo) to install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
