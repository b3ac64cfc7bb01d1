# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for a while.
# Sourced by fuzz-short.sh and fuzz-long.sh with NAKAMA_FUZZ_SECONDS set.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
. scripts/stage-timer.sh
if ! command -v clang++ >/dev/null 2>&1; then
    echo "clang++ is not installed: fuzz targets not run"
    return 0 2>/dev/null || exit 0
fi
# shellcheck disable=SC2046
cmake -S . -B build-fuzz -G Ninja $(nakama_launcher) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O1 -g1" -DNAKAMA_FUZZ=ON \
    -DNAKAMA_SANITIZE="address;undefined" -DNAKAMA_TESTS=OFF -DNAKAMA_BENCH=OFF >/dev/null
nakama_stage "fuzz build" cmake --build build-fuzz -j2
export ASAN_OPTIONS="detect_leaks=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
seeds="$PWD/tests/core/data"
failed=0
report=""
for target in build-fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="build-fuzz/corpus/$name"
    mkdir -p "$corpus" "build-fuzz/crashes/$name"
    # Regression inputs kept beside the tests start every run.
    [ -d "$seeds/fuzz" ] && cp -n "$seeds"/fuzz/* "$corpus"/ 2>/dev/null || true
    log="build-fuzz/$name.log"
    if (cd "build-fuzz/crashes/$name" && "../../../$target" -max_total_time="$NAKAMA_FUZZ_SECONDS" \
            -rss_limit_mb=2048 -timeout=20 -jobs=1 -workers=1 -print_final_stats=1 "../../../$corpus") >"$log" 2>&1; then
        runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1 || true)
        report="$report$name: ${runs:-?} runs, no crash"$'\n'
    else
        failed=1
        report="$report$name: FAILED (see $log and build-fuzz/crashes/$name)"$'\n'
        tail -40 "$log"
    fi
done
printf '%s' "$report"
[ "$failed" -eq 0 ]
