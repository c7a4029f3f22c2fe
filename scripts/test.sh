#!/usr/bin/env bash
# Builds both architectures and runs every test executable once under Wine, on a
# virtual X screen of its own, for every architecture this machine can execute: i686
# and x86_64 where 32-bit code runs, x86_64 alone where it does not. Both are always
# built, so a fault of either shows on any machine. CTest's summary of the last
# architecture is the last thing printed. Arguments go to CTest.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/env.sh"
bash "$here/setup.sh"
for arch in $ATGEN_ARCHES; do
    echo "test: building $arch"
    bash "$here/build.sh" "$arch"
done

runnable=$(atgen_runnable_arches)
no32=$(atgen_no_32bit_reason)
if [ -z "$no32" ]; then
    echo "test: running the tests of i686 and x86_64"
else
    echo "test: running the tests of x86_64 only; i686 was built but cannot run here: $no32"
fi

display=$(atgen_free_display 90 130)
[ -n "$display" ] || { echo "test: no free X display number" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
export ATGEN_REQUIRE_DISPLAY=1
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT
for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done

failed=""
for arch in $runnable; do
    atgen_wine_env "$arch"
    # One wineserver for the whole run: each Wine process then starts in a tenth of a second.
    wineserver -p >/dev/null 2>&1 || true
    # Start Wine's background services now, with no terminal attached: started by the
    # first test instead, they would inherit CTest's output pipe and keep it waiting.
    "$ATGEN_WINE" wineboot >/dev/null 2>&1 </dev/null || true
    echo "test: $arch"
    # One area at a time: the areas share one Wine desktop and its clipboard, and a copy
    # in one executable must not land between another's copy and paste.
    build_dir="$(atgen_build_dir "$arch")"
    if ! (cd "$build_dir" && ctest --output-on-failure --timeout 900 "$@"); then
        # A test that fails again on a second run fails the run; one that passes then is named as
        # flaky, so an intermittent fault stays visible without failing the whole run.
        list="$build_dir/Testing/Temporary/LastTestsFailed.log"
        names=$(cut -d: -f2 "$list" 2>/dev/null | tr '\n' ' ')
        echo "test: failed on the first run on $arch: ${names:-?}; running them once more"
        if [ -s "$list" ] && (cd "$build_dir" && ctest --output-on-failure --timeout 900 --rerun-failed); then
            echo "test: FLAKY on $arch (failed once, then passed): $names"
        else
            failed="$failed $arch"
        fi
    fi
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
done
if [ -n "$failed" ]; then
    echo "test: failed on$failed" >&2
    exit 1
fi
