#!/usr/bin/env bash
# ./dev.sh run   installs what is missing, builds an optimised zelk and starts it
# ./dev.sh test  installs what is missing, builds with AddressSanitizer and UBSan
#                and runs the whole test suite
# ./dev.sh package  installs what is missing and makes the Debian package of the
#                optimised program: build/package/zelk_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")"

build_packages=(cmake make g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev fonts-liberation2)
test_packages=(xvfb openbox trayer xdotool xclip x11-utils x11-xserver-utils imagemagick python3 libglib2.0-bin
               fp-utils libchm-bin desktop-file-utils appstream dpkg-dev clang libclang-rt-14-dev
               passwd util-linux mount
               g++-mingw-w64-x86-64-posix ninja-build qt6-base-dev-tools wine wine64 fonts-wine tesseract-ocr
               dbus at-spi2-core python3-gi gir1.2-atspi-2.0
               debootstrap wget xdg-utils)
package_packages=(fp-utils dpkg-dev)

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)

# zelk.exe (build/windows) for the Wine test, from the static Qt for Windows in
# ../shared/windows, unpacked into build/ once; without it the test is skipped.
build_windows() {
    local archive=../shared/windows/qt-6.4.2-mingw64-static.tar.xz qt=build/qt-6.4.2-mingw64-static
    if [ ! -f "$archive" ]; then
        echo "No $archive: zelk.exe is not built and its Wine test is skipped"
        return 0
    fi
    if [ ! -f "$qt.unpacked" ] || [ "$archive" -nt "$qt.unpacked" ]; then
        rm -rf "$qt" && mkdir -p build && tar -xJf "$archive" -C build && touch "$qt.unpacked"
    fi
    ZELK_WINDOWS_QT=$PWD/$qt cmake --preset windows
    cmake --build --preset windows -j "$jobs"
}

case "${1:-}" in
run)
    install_missing "${build_packages[@]}"
    cmake --preset release
    cmake --build --preset release -j "$jobs"
    exec build/release/src/app/zelk
    ;;
test)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    cmake --preset sanitize
    cmake --build --preset sanitize -j "$jobs"
    build_windows
    ctest --preset sanitize
    ;;
package)
    install_missing "${build_packages[@]}" "${package_packages[@]}"
    CMAKE_BUILD_PARALLEL_LEVEL=$jobs cmake --workflow --preset package
    ;;
*)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
