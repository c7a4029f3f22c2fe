#!/usr/bin/env bash
# The scripts' choice of architectures: what runs where, and what a run says about it.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
failures=0
expect() {  # expect WHAT ACTUAL EXPECTED
    if [ "$2" == "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: got '$2', expected '$3'"; failures=$((failures + 1)); fi
}

# Without 32-bit support only the 64-bit build runs, and the reason is given.
reason=$(ATGEN_SIMULATE_NO_32BIT=1 atgen_no_32bit_reason)
expect "a reason is given without 32-bit support" "$([ -n "$reason" ] && echo yes)" yes
expect "only x86_64 runs without 32-bit support" "$(ATGEN_SIMULATE_NO_32BIT=1 atgen_runnable_arches)" x86_64

# The real machine: the answer agrees with what the 32-bit loader itself does.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1 </dev/null; then
    expect "both run where the 32-bit loader starts" "$(atgen_runnable_arches)" "i686 x86_64"
else
    expect "only x86_64 runs where the 32-bit loader cannot start" "$(atgen_runnable_arches)" x86_64
fi

# Each architecture gets its own prefix and loader; the 64-bit one never goes through
# /usr/bin/wine, which would pick the 32-bit loader.
(atgen_wine_env i686; expect "i686 prefix" "$WINEARCH $ATGEN_WINE ${WINELOADER:-none}" "win32 wine none")
(atgen_wine_env x86_64; expect "x86_64 prefix" "$WINEARCH $ATGEN_WINE $WINELOADER" \
    "win64 /usr/lib/wine/wine64 /usr/lib/wine/wine64")
(atgen_wine_env i686; p32=$WINEPREFIX; atgen_wine_env x86_64
 expect "separate prefixes" "$([ "$p32" != "$WINEPREFIX" ] && echo yes)" yes)
expect "the build folders differ" "$([ "$(atgen_build_dir i686)" != "$(atgen_build_dir x86_64)" ] && echo yes)" yes

[ "$failures" -eq 0 ]
