#!/usr/bin/env bash
# Configures and builds one of the presets in CMakePresets.json (default:
# "default", into build/; "sanitize" builds into build-sanitize/).
# Usage: scripts/build.sh [preset] [extra cmake options...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
preset="${1:-default}"
shift || true
cd "$root"
cmake --preset "$preset" "$@"
cmake --build --preset "$preset" --parallel "$(nproc)"
