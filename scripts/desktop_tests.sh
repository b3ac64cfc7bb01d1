#!/usr/bin/env bash
# The tests of the program on a real Linux desktop, run by test.sh after the
# CTest programs: a real printer queue (CUPS with cups-pdf), a real input
# method (fcitx5 with Mozc) and the Debian package installed into a scratch
# root. Each prints one line of what it found; any failure fails test.sh.
#
#   scripts/desktop_tests.sh BUILD_DIR [OUTPUT_FOLDER]
#
# OUTPUT_FOLDER (default BUILD_DIR/desktop-tests) keeps the input-method
# test's screenshots and captured reading.
set -uo pipefail
build="$(cd "${1:?build folder}" && pwd)"
out="${2:-$build/desktop-tests}"
here="$(cd "$(dirname "$0")/.." && pwd)/tests/system"
mkdir -p "$out"
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

failed=()
run() { # name, command...
    local name="$1" start status
    shift
    start=$(date +%s)
    "$@"
    status=$?
    echo "-- $name: $([ $status -eq 0 ] && echo passed || echo FAILED) in $(( $(date +%s) - start )) s"
    [ $status -eq 0 ] || failed+=("$name")
}
run "printer queue" as_root "$here/printer_queue_test.sh" "$build"
run "input method" "$here/input_method_test.sh" "$build" "$out"
run "Debian package" "$here/package_test.sh" "$build"
if [ ${#failed[@]} -gt 0 ]; then
    echo "desktop tests failed: ${failed[*]}" >&2
    exit 1
fi
