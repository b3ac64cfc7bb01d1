#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
nakama_install_deps
. scripts/stage-timer.sh
# shellcheck disable=SC2046
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNAKAMA_WERROR=ON $(nakama_launcher)
nakama_stage "build" cmake --build build -j2
(cd build && nakama_stage "tests" env QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer, then
# every file reader fuzzed for a few seconds.
nakama_stage "sanitizers" scripts/sanitize-tests.sh
nakama_stage "fuzzing" scripts/fuzz-short.sh
