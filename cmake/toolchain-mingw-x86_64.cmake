# Cross build for 64-bit Windows with the posix-threads MinGW-w64 compilers: the same
# sources as the 32-bit program, so the tests also run on machines that execute only
# 64-bit code. The win32-threads variant lacks std::mutex, which GoogleTest and our
# threads need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's /usr/bin/wine picks the 32-bit loader whenever wine32 is installed: name the
# 64-bit one (scripts/env.sh sets WINELOADER and the win64 prefix to go with it).
find_program(WINE_PROGRAM NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(WINE_PROGRAM)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()
