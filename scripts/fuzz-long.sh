#!/usr/bin/env bash
# Every fuzz target for a long while, one after another (ten minutes each
# unless NAKAMA_FUZZ_SECONDS says otherwise). Crashes are kept in
# build-fuzz/crashes/<target>/; copy a fixed one into tests/core/data/fuzz.
NAKAMA_FUZZ_SECONDS="${NAKAMA_FUZZ_SECONDS:-600}"
. "$(dirname "$0")/fuzz-targets.sh"
