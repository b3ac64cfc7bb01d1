# Runs one stage of the test run and says how long it took. Sourced by
# test.sh and the scripts it calls.
nakama_stage() {
    local name="$1"
    shift
    local start=$SECONDS
    echo "=== $name"
    local rc=0
    "$@" || rc=$?
    echo "=== $name: $((SECONDS - start)) s (exit $rc)"
    return $rc
}

# The compiler cache, when it is installed.
nakama_launcher() {
    command -v ccache >/dev/null 2>&1 && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
}
