# Shared settings of the build, run and test scripts; sourced, not run.
#
# Two builds of the same sources live side by side: i686, the program as it ships
# (a 32-bit Windows program), and x86_64, the same sources as a 64-bit program, so
# that the tests also run where the kernel cannot execute 32-bit code.
ATGEN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ATGEN_ROOT
export ATGEN_ARCHES="i686 x86_64"
export ATGEN_DEPS="${ATGEN_DEPS:-/var/cache/atgen-deps}"
export ATGEN_BUILD_ROOT="${ATGEN_BUILD_ROOT:-$ATGEN_ROOT/build}"
export ATGEN_WINE_ROOT="${ATGEN_WINE_ROOT:-$HOME/.cache}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs: nothing here needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/atgen-ccache}"
# Paths below the checkout hash as relative ones, so a fresh clone elsewhere (CI's)
# reuses what an earlier build of the same sources compiled.
export CCACHE_BASEDIR="$ATGEN_ROOT"
export CCACHE_NOHASHDIR=1

# The first X display number in FIRST..LAST that nobody uses, so parallel runs and a
# user's X do not meet; nothing when all are taken.
atgen_free_display() {  # atgen_free_display FIRST LAST
    local n
    for n in $(seq "$1" "$2"); do
        if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then echo "$n"; return; fi
    done
}

atgen_build_dir() { echo "$ATGEN_BUILD_ROOT/$1"; }   # atgen_build_dir ARCH
atgen_deps_dir()  { echo "$ATGEN_DEPS/$1"; }         # atgen_deps_dir ARCH

# Why this machine cannot run 32-bit programs, or nothing when it can. ATGEN_SIMULATE_NO_32BIT
# makes the scripts behave as on a kernel without 32-bit support; it exists for testing the
# scripts themselves.
atgen_no_32bit_reason() {
    if [ -n "${ATGEN_SIMULATE_NO_32BIT:-}" ]; then
        echo "32-bit support switched off by ATGEN_SIMULATE_NO_32BIT"
        return
    fi
    local loader=/lib/ld-linux.so.2
    if [ ! -e "$loader" ]; then
        echo "the 32-bit loader $loader is not installed"
        return
    fi
    local answer
    if ! answer=$("$loader" --version 2>&1 </dev/null); then
        answer=$(printf '%s' "$answer" | grep -o 'Exec format error' | head -n1)
        echo "the kernel cannot execute 32-bit programs (${answer:-$loader does not start})"
    fi
}

# The architectures whose programs this machine can run under Wine.
atgen_runnable_arches() {
    if [ -z "$(atgen_no_32bit_reason)" ]; then echo "i686 x86_64"; else echo "x86_64"; fi
}

# Points Wine at ARCH's prefix and loader: sets WINEPREFIX, WINEARCH, WINELOADER and
# ATGEN_WINE (the command that runs a Windows program). Debian's /usr/bin/wine always
# takes the 32-bit loader when wine32 is installed, so 64-bit runs name wine64 itself.
atgen_wine_env() {  # atgen_wine_env ARCH
    case "$1" in
        i686)
            export WINEPREFIX="$ATGEN_WINE_ROOT/atgen-wine"
            export WINEARCH=win32
            unset WINELOADER
            ATGEN_WINE=wine
            ;;
        x86_64)
            export WINEPREFIX="$ATGEN_WINE_ROOT/atgen-wine64"
            export WINEARCH=win64
            export WINELOADER=/usr/lib/wine/wine64
            ATGEN_WINE=/usr/lib/wine/wine64
            ;;
        *) echo "unknown architecture $1" >&2; return 1 ;;
    esac
    export ATGEN_WINE
}
