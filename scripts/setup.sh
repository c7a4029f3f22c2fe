#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine, once: the
# cross compilers for i686 and x86_64, Wine, Xvfb, GoogleTest's sources, openssl (the
# updater tests' certificates), RapidJSON's headers (the JSON benchmark), zlib for Windows, and libjpeg-turbo, mbedTLS and libssh2 cross-built from Debian's source packages for
# both architectures into a cache outside the repository. Then it finds out whether this
# machine can execute 32-bit code and prepares a Wine prefix for each architecture it
# can run. Every step checks first, so a second run takes a second.
set -euo pipefail

# shellcheck source=env.sh
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

PACKAGES=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools wine wine32:i386 wine64 xvfb xauth cmake
          ccache libz-mingw-w64-dev fonts-wine fonts-liberation fonts-dejavu-core googletest
          dpkg-dev make x11-utils python3 openssl rapidjson-dev python3-fonttools
          python3-pyftpdlib python3-paramiko librsvg2-bin unrtf ghostscript poppler-utils xdotool)

missing_packages() {
    local p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

install_packages() {
    local missing
    missing=$(missing_packages)
    [ -z "$missing" ] && return 0
    echo "setup: installing $(echo $missing | tr '\n' ' ')"
    if ! dpkg --print-foreign-architectures | grep -q i386; then
        $SUDO dpkg --add-architecture i386
    fi
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# Debian ships no Windows build of these two; build them from Debian's own sources.
ensure_deb_src() {
    if ! grep -rqs "^Types:.*deb-src" /etc/apt/sources.list.d/ && ! grep -qs "^deb-src" /etc/apt/sources.list; then
        echo "setup: adding deb-src entries" >&2
        $SUDO tee /etc/apt/sources.list.d/atgen-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
        $SUDO apt-get update -qq
    fi
}

fetch_source() {  # fetch_source PACKAGE VERSION -> prints the unpacked folder
    local package=$1 version=$2 work="$ATGEN_DEPS/src"
    mkdir -p "$work"
    local dir
    dir=$(find "$work" -maxdepth 1 -type d -name "${package}-*" | head -n1)
    if [ -z "$dir" ]; then
        ensure_deb_src
        # The pinned version is the main suite's: the security suite's entry may be gone.
        (cd "$work" && apt-get source -qq "${package}=${version}" >/dev/null 2>&1 ||
                       apt-get source -qq "${package}" >/dev/null 2>&1)
        dir=$(find "$work" -maxdepth 1 -type d -name "${package}-*" | head -n1)
    fi
    [ -n "$dir" ] || { echo "setup: cannot fetch the source of $package" >&2; exit 1; }
    echo "$dir"
}

cross_cmake() {  # cross_cmake ARCH SOURCE BUILD ARGS...
    local arch=$1 src=$2 build=$3; shift 3
    local log="$build.log"
    mkdir -p "$(dirname "$build")"
    { cmake -S "$src" -B "$build" -G "Unix Makefiles" \
          -DCMAKE_TOOLCHAIN_FILE="$ATGEN_ROOT/cmake/toolchain-mingw-$arch.cmake" \
          -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$(atgen_deps_dir "$arch")/prefix" "$@" &&
      cmake --build "$build" -j"$(nproc)" &&
      cmake --install "$build"; } >"$log" 2>&1 || { tail -n 40 "$log" >&2; exit 1; }
}

build_libjpeg() {  # build_libjpeg ARCH
    local arch=$1 deps; deps=$(atgen_deps_dir "$1")
    [ -f "$deps/prefix/lib/libjpeg.a" ] && return 0
    echo "setup: building libjpeg-turbo for $arch Windows"
    local src; src=$(fetch_source libjpeg-turbo 1:2.1.5-2)
    cross_cmake "$arch" "$src" "$deps/build/libjpeg" -DWITH_SIMD=OFF -DENABLE_SHARED=OFF \
        -DWITH_TURBOJPEG=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
}

# mbedTLS is libssh2's crypto: Wine's bcrypt cannot do the key exchange through the
# WinCNG back end ("algorithm DH not supported").
build_mbedtls() {  # build_mbedtls ARCH
    local arch=$1 deps; deps=$(atgen_deps_dir "$1")
    [ -f "$deps/prefix/lib/libmbedcrypto.a" ] && return 0
    echo "setup: building mbedTLS for $arch Windows"
    local src; src=$(fetch_source mbedtls 2.28.3-1)
    cross_cmake "$arch" "$src" "$deps/build/mbedtls" -DENABLE_PROGRAMS=OFF -DENABLE_TESTING=OFF \
        -DUSE_STATIC_MBEDTLS_LIBRARY=ON -DUSE_SHARED_MBEDTLS_LIBRARY=OFF -DMBEDTLS_FATAL_WARNINGS=OFF
}

build_libssh2() {  # build_libssh2 ARCH
    local arch=$1 deps; deps=$(atgen_deps_dir "$1")
    # The stamp names the crypto back end, so an older build on another back end is redone.
    local stamp="$deps/prefix/lib/libssh2.backend" backend=mbedTLS
    [ -f "$deps/prefix/lib/libssh2.a" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$backend" ] && return 0
    echo "setup: building libssh2 ($backend) for $arch Windows"
    local src; src=$(fetch_source libssh2 1.10.0-3)
    rm -rf "$deps/build/libssh2"
    local lib="$deps/prefix/lib"
    cross_cmake "$arch" "$src" "$deps/build/libssh2" -DCRYPTO_BACKEND=$backend -DBUILD_SHARED_LIBS=OFF \
        -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DENABLE_ZLIB_COMPRESSION=OFF \
        -DMBEDTLS_INCLUDE_DIR="$deps/prefix/include" -DMBEDTLS_LIBRARY="$lib/libmbedtls.a" \
        -DMBEDX509_LIBRARY="$lib/libmbedx509.a" -DMBEDCRYPTO_LIBRARY="$lib/libmbedcrypto.a"
    echo "$backend" > "$stamp"
}

# A Wine prefix of our own, with fonts that GDI+ can see, the program's font names
# mapped onto installed families, and window frames drawn by Wine itself (Xvfb and
# many desktops have no window manager to draw them).
WINE_SETTINGS='REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Courier New"="Liberation Mono"
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Segoe UI"="DejaVu Sans"
"Consolas"="DejaVu Sans Mono"
"Verdana"="DejaVu Sans"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"
'

# Waits until the prefix's wineserver has ended and saved the registry. A persistent one
# (left by an interrupted test run) never ends by itself: after a while the set-up goes on,
# as the running server already holds what was written and saves it when it stops.
wine_settle() {
    timeout 60 wineserver -w ||
        echo "setup: the wineserver of $WINEPREFIX keeps running (persistent?); going on (stop it with wineserver -k)" >&2
}

prepare_wine_prefix() {  # prepare_wine_prefix ARCH
    atgen_wine_env "$1"
    if [ ! -f "$WINEPREFIX/.atgen-prefix" ]; then
        echo "setup: creating the $WINEARCH Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        "$ATGEN_WINE" wineboot -i >/dev/null 2>&1 </dev/null || true
        wine_settle
        local fonts="$WINEPREFIX/drive_c/windows/Fonts"
        mkdir -p "$fonts"
        # Wine: GDI+ only enumerates fonts that lie in the prefix's Fonts folder.
        cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
        cp -n /usr/share/fonts/truetype/liberation/*.ttf "$fonts/" 2>/dev/null || true
        cp -n /usr/share/fonts/truetype/dejavu/*.ttf "$fonts/" 2>/dev/null || true
        touch "$WINEPREFIX/.atgen-prefix"
    fi
    local stamp="$WINEPREFIX/.atgen-settings"
    # Applied again when the registry lost them too, whatever the stamp says. (The stamp was
    # read back without its last line break and never matched: every start imported the
    # settings again and waited for the Wine session to save them.)
    if ! printf '%s' "$WINE_SETTINGS" | cmp -s - "$stamp" ||
       ! "$ATGEN_WINE" reg query 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' 2>/dev/null </dev/null |
            grep -q 'Liberation Mono'; then
        local reg; reg=$(mktemp --suffix=.reg)
        printf '%s' "$WINE_SETTINGS" > "$reg"
        "$ATGEN_WINE" regedit /S "$reg" >/dev/null 2>&1 </dev/null
        wine_settle
        rm -f "$reg"
        printf '%s' "$WINE_SETTINGS" > "$stamp"
    fi
}

# Courier New, the editor's font, as a face of the prefix's own: Liberation Mono's outlines and
# metrics under that family name. Wine applies the registry's replacement only when, as it
# loads its fonts, the replacing family is loaded and no family answers to the name; where it
# did not, the memo saw a proportional face, fell back to FixedSys (proportional under Wine
# too) and spaced every character a "W" apart, its exports named FixedSys, and GDI+ (the
# printed titles) found no Courier New at all. DirectWrite sees only fonts the Fonts key lists.
install_courier_new() {  # install_courier_new ARCH
    atgen_wine_env "$1"
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" style source file added=""
    for style in Regular Bold Italic BoldItalic; do
        file="atgen-courier-new-$style.ttf"
        [ -f "$fonts/$file" ] && continue
        source="/usr/share/fonts/truetype/liberation/LiberationMono-$style.ttf"
        [ -f "$source" ] || { echo "setup: $source is missing (package fonts-liberation)" >&2; exit 1; }
        /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/make-alias-font.py" "$source" "Courier New" "$fonts/$file"
        local name="Courier New"
        case $style in Bold) name+=" Bold" ;; Italic) name+=" Italic" ;; BoldItalic) name+=" Bold Italic" ;; esac
        "$ATGEN_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
            /v "$name (TrueType)" /t REG_SZ /d "$file" /f >/dev/null 2>&1 </dev/null
        added=1
    done
    if [ -n "$added" ]; then
        echo "setup: added Courier New (Liberation Mono's faces) to $WINEPREFIX"
        wine_settle
    fi
}

# RapidJSON (header-only, the JSON benchmark's comparison) is linked into each dependency
# prefix, so the cross build sees its headers and no other host header.
link_rapidjson() {
    local arch include
    for arch in $ATGEN_ARCHES; do
        include="$(atgen_deps_dir "$arch")/prefix/include"
        mkdir -p "$include"
        [ -L "$include/rapidjson" ] || ln -s /usr/include/rapidjson "$include/rapidjson"
    done
}

# The colour-emoji tests draw with a two-colour COLR font made here: Debian's only colour
# emoji font is bitmap-only, which Wine's DirectWrite draws nothing with. Wine 8's
# DirectWrite finds a font only when the registry's Fonts key lists it.
install_emoji_test_font() {  # install_emoji_test_font ARCH
    atgen_wine_env "$1"
    local file="$WINEPREFIX/drive_c/windows/Fonts/atgen-emoji-test.ttf"
    [ -f "$file" ] && return 0
    echo "setup: adding the colour emoji test font to $WINEPREFIX"
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/make-emoji-test-font.py" "$file"
    "$ATGEN_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
        /v 'ATGen Emoji Test (TrueType)' /t REG_SZ /d atgen-emoji-test.ttf /f >/dev/null 2>&1 </dev/null
    wine_settle
}

install_packages
mkdir -p "$ATGEN_DEPS"
for arch in $ATGEN_ARCHES; do
    build_libjpeg "$arch"
    build_mbedtls "$arch"
    build_libssh2 "$arch"
done
link_rapidjson
no32=$(atgen_no_32bit_reason)
if [ -n "$no32" ]; then
    echo "setup: 32-bit Windows programs cannot run here, $no32: only the x86_64 build runs under Wine" >&2
fi
for arch in $(atgen_runnable_arches); do
    prepare_wine_prefix "$arch"
    install_emoji_test_font "$arch"
    install_courier_new "$arch"
done
