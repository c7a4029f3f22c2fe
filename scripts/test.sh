#!/usr/bin/env bash
# Builds everything and runs every test executable once under Wine, on a virtual
# X screen of its own, then prints CTest's summary.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/env.sh"
bash "$here/setup.sh"
bash "$here/build.sh"

# A display number nobody else uses, so parallel runs and a user's X do not meet.
display=""
for n in $(seq 90 130); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "test: no free X display number" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
export ATGEN_REQUIRE_DISPLAY=1

# One wineserver for the whole run: each Wine process then starts in a tenth of a second.
wineserver -p >/dev/null 2>&1 || true
# Start Wine's background services now, with no terminal attached: started by the
# first test instead, they would inherit CTest's output pipe and keep it waiting.
wineboot >/dev/null 2>&1 </dev/null || true
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT
for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done

cd "$ATGEN_BUILD"
# One area at a time: the areas share one Wine desktop and its clipboard, and a copy in one
# executable must not land between another's copy and paste. The whole run takes seconds.
ctest --output-on-failure --timeout 900 "$@"
