#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest, headless.
# With --sanitize the build uses AddressSanitizer and UndefinedBehaviorSanitizer
# (the "sanitize" preset, in build-sanitize/); with --tsan, ThreadSanitizer,
# and only the suites labelled "threads" are built and run (the "tsan" preset,
# in build-tsan/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
preset=default
case "${1:-}" in
--sanitize) preset=sanitize ;;
--tsan) preset=tsan ;;
esac
"$root/scripts/build.sh" "$preset"
cd "$root"
ctest --preset "$preset"
