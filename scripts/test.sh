#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest, headless.
# With --sanitize the build uses AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
dir="$root/build"
opts=()
if [ "${1:-}" = "--sanitize" ]; then
    dir="$root/build-sanitize"
    opts=(-DTOLVANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
"$root/scripts/build.sh" "$dir" "${opts[@]}"
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300
