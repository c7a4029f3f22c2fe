# Shared settings of the build, run and test scripts; sourced, not run.
ATGEN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ATGEN_ROOT
export ATGEN_DEPS="${ATGEN_DEPS:-/var/cache/atgen-deps}"
export ATGEN_BUILD="${ATGEN_BUILD:-$ATGEN_ROOT/build}"
export WINEPREFIX="${WINEPREFIX:-$HOME/.cache/atgen-wine}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs: nothing here needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/atgen-ccache}"
