#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest, headless.
# With --sanitize the build uses AddressSanitizer and UndefinedBehaviorSanitizer
# (the "sanitize" preset, in build-sanitize/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
preset=default
if [ "${1:-}" = "--sanitize" ]; then
    preset=sanitize
fi
"$root/scripts/build.sh" "$preset"
cd "$root"
ctest --preset "$preset"
