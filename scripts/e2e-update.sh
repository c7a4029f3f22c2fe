#!/usr/bin/env bash
# The program's update from end to end (tests/e2e/update_e2e.py): builds the program, its
# next version (AtCmdGenNext.exe) and the test's driver, starts a virtual X screen and a
# wineserver of its own, and runs the cases: server down, same version, newer version
# through the wizard and the restart. Takes about two minutes.
#   e2e-update.sh [ARCH] [--shots FOLDER] [--timings]
# ARCH: i686 or x86_64 (default: i686 where this machine runs 32-bit programs, else x86_64).
# --shots FOLDER keeps a screenshot of each step (needs ImageMagick's import); --timings
# measures instead how long the starting window does not answer while the update server is
# down or stalled.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/env.sh"
# Screenshots need ImageMagick's import: say so now, not after minutes of building and running.
for argument in "$@"; do
    if [ "$argument" = --shots ] && ! command -v import >/dev/null 2>&1; then
        echo "e2e-update: --shots needs ImageMagick's import, which is not installed (apt-get install imagemagick)" >&2
        exit 1
    fi
done
bash "$here/setup.sh"

arch=$(atgen_runnable_arches | cut -d' ' -f1)
case "${1:-}" in i686|x86_64) arch=$1; shift ;; esac
case " $(atgen_runnable_arches) " in
    *" $arch "*) ;;
    *) echo "e2e-update: $arch programs cannot run here: $(atgen_no_32bit_reason)" >&2; exit 1 ;;
esac
bash "$here/build.sh" "$arch" --target AtCmdGen AtCmdGenNext e2e_driver >/dev/null

display=$(atgen_free_display 90 130)
[ -n "$display" ] || { echo "e2e-update: no free X display number" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
atgen_wine_env "$arch"
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT
for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
wineserver -p >/dev/null 2>&1 || true
"$ATGEN_WINE" wineboot >/dev/null 2>&1 </dev/null || true
echo "e2e-update: $arch"
python3 "$ATGEN_ROOT/tests/e2e/update_e2e.py" "$(atgen_build_dir "$arch")" "$@" "$ATGEN_WINE"
