#!/usr/bin/env bash
# Every fuzz target for a few seconds, as part of ./test.sh.
NAKAMA_FUZZ_SECONDS="${NAKAMA_FUZZ_SECONDS:-4}"
. "$(dirname "$0")/fuzz-targets.sh"
