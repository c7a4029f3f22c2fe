#!/usr/bin/env bash
# Builds the program and starts it under Wine on the user's X display (a virtual one
# when there is none): the 32-bit program where this machine runs 32-bit code, the
# 64-bit build of the same sources where it does not.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/env.sh"
bash "$here/setup.sh"

reason=$(atgen_no_32bit_reason)
if [ -z "$reason" ]; then
    arch=i686
    echo "run: starting the 32-bit program"
else
    arch=x86_64
    echo "run: starting the 64-bit build: $reason"
fi
bash "$here/build.sh" "$arch" --target AtCmdGen >/dev/null
atgen_wine_env "$arch"

if [ -z "${DISPLAY:-}" ]; then
    echo "run: no DISPLAY; starting a virtual screen :77 (see it with a VNC viewer or a screenshot)"
    Xvfb :77 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
    export DISPLAY=:77
    sleep 1
fi
exec "$ATGEN_WINE" "$(atgen_build_dir "$arch")/app/AtCmdGen.exe" "$@"
