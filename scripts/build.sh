#!/usr/bin/env bash
# Configures (first time) and builds every target of one architecture: the program,
# the libraries, the test executables and the benchmarks.
#   build.sh ARCH [cmake --build arguments...]     ARCH: i686 or x86_64
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

arch=${1:?usage: build.sh i686|x86_64 [build arguments]}
shift
build=$(atgen_build_dir "$arch")
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$ATGEN_ROOT" -B "$build" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$ATGEN_ROOT/cmake/toolchain-mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE="${ATGEN_BUILD_TYPE:-RelWithDebInfo}" \
        -DATGEN_DEPS="$(atgen_deps_dir "$arch")" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" "$@"
