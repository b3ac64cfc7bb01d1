#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs every test there. Any
# sanitizer report fails the run. Lightly optimised, without benchmarks, to
# keep the whole test run within its time. (The compiler's guesses about
# uninitialised values are unreliable under the sanitizers' instrumentation;
# the ordinary build keeps that warning.)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/stage-timer.sh
# shellcheck disable=SC2046
cmake -S . -B build-asan -G Ninja $(nakama_launcher) \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O1 -g1 -Wno-maybe-uninitialized" \
    -DNAKAMA_WERROR=ON -DNAKAMA_SANITIZE="address;undefined" -DNAKAMA_BENCH=OFF >/dev/null
nakama_stage "sanitizer build" cmake --build build-asan -j2
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
cd build-asan
nakama_stage "tests under sanitizers" env QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
