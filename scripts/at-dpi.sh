#!/usr/bin/env bash
# Runs a Windows test program under Wine on a screen of another resolution, in a Wine
# session of its own: the prefix's LogPixels is set for the run and put back to 96 however
# the run ends, and the program gets a virtual screen of its own, large enough for windows
# scaled up. CTest runs it (app_144dpi) with the Wine settings that scripts/test.sh exports
# (WINEPREFIX, WINEARCH, WINELOADER, ATGEN_WINE), so it serves both architectures.
#   at-dpi.sh DPI PROGRAM [ARGUMENTS...]
# The program sees ATGEN_EXPECT_DPI=DPI and can check that the screen really has it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
dpi=${1:?usage: at-dpi.sh DPI PROGRAM [ARGUMENTS...]}
shift
[ $# -gt 0 ] || { echo "at-dpi: no program given" >&2; exit 2; }
: "${WINEPREFIX:?at-dpi: WINEPREFIX is not set; run the tests through scripts/test.sh}"
wine=${ATGEN_WINE:-${WINELOADER:-wine}}

# Wine takes the resolution from the first of these it finds: set and restore both.
keys=('HKCU\Control Panel\Desktop'
      'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts')

set_log_pixels() {  # set_log_pixels VALUE
    local key
    for key in "${keys[@]}"; do
        "$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
    done
}

# Ends the Wine session, which writes the registry back to the prefix.
stop_wine() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}

# Wine's background services, started with no terminal attached: started by a test
# instead, they would inherit CTest's output pipe and keep it waiting.
start_wine() {
    wineserver -p >/dev/null 2>&1 || true
    "$wine" wineboot >/dev/null 2>&1 </dev/null || true
}

outer_display=${DISPLAY:-}
xvfb_pid=""
restore() {
    local status=$?
    trap - EXIT INT TERM
    set +e
    # The session's processes belong to the screen that goes away: end them first.
    set_log_pixels 96
    stop_wine
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1
    # The run that called us continues with the session it had.
    if [ -n "$outer_display" ]; then
        export DISPLAY=$outer_display
        start_wine
    fi
    exit "$status"
}
trap restore EXIT
trap 'exit 130' INT TERM

display=$(atgen_free_display 131 170)
[ -n "$display" ] || { echo "at-dpi: no free X display number" >&2; exit 1; }
# 1.5 times the usual test screen, so that windows scaled by 1.5 still fit.
Xvfb ":$display" -screen 0 1920x1536x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done

# A new session on the new screen, started with the resolution already set.
stop_wine
export DISPLAY=":$display"
wineserver -p >/dev/null 2>&1 || true
set_log_pixels "$dpi"
"$wine" wineboot >/dev/null 2>&1 </dev/null || true

export ATGEN_EXPECT_DPI=$dpi
"$wine" "$@"
