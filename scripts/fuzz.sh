#!/usr/bin/env bash
# Fuzzes the customization-file reader with libFuzzer (clang, with
# AddressSanitizer and UndefinedBehaviorSanitizer) for a bounded time.
# Usage: scripts/fuzz.sh [seconds]   (default 60)
# Builds in build-fuzz/, keeps the growing corpus in build-fuzz/corpus (seeded
# from tests/fuzz/seeds) and writes any crashing input to build-fuzz/artifacts/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
"$root/scripts/setup.sh" clang libclang-rt-14-dev

dir="$root/build-fuzz"
(cd "$root" && cmake --preset fuzz && cmake --build --preset fuzz -j2)

mkdir -p "$dir/corpus" "$dir/artifacts"
cd "$dir"
set +e
ASAN_OPTIONS=detect_leaks=0 ./tests/fuzz/fuzz_customization -max_total_time="$seconds" \
    -max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/" "$dir/corpus" "$root/tests/fuzz/seeds" 2>&1 |
    tee "$dir/fuzz.log" |
    grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|Done|==|SUMMARY|reader and model|stat::number_of_executed_units)'
status=${PIPESTATUS[0]} # the fuzzer's, not grep's
set -e
[ "$status" -eq 0 ] || echo "The fuzzer stopped on a failure; see $dir/fuzz.log and $dir/artifacts/" >&2
exit "$status"
