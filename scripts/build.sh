#!/usr/bin/env bash
# Configures (first time) and builds every target: the program, the libraries,
# the test executables and the benchmarks.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

if [ ! -f "$ATGEN_BUILD/CMakeCache.txt" ]; then
    cmake -S "$ATGEN_ROOT" -B "$ATGEN_BUILD" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$ATGEN_ROOT/cmake/toolchain-mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE="${ATGEN_BUILD_TYPE:-RelWithDebInfo}" \
        -DATGEN_DEPS="$ATGEN_DEPS" >/dev/null
fi
cmake --build "$ATGEN_BUILD" -j"$(nproc)" "$@"
