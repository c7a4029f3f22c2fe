#!/usr/bin/env bash
# Builds the program and starts it under Wine on the user's X display
# (a virtual one when there is none).
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/env.sh"
bash "$here/setup.sh"
bash "$here/build.sh" --target AtCmdGen >/dev/null

if [ -z "${DISPLAY:-}" ]; then
    echo "run: no DISPLAY; starting a virtual screen :77 (see it with a VNC viewer or a screenshot)"
    Xvfb :77 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
    export DISPLAY=:77
    sleep 1
fi
exec wine "$ATGEN_BUILD/app/AtCmdGen.exe" "$@"
