#!/usr/bin/env bash
# ./dev.sh run   installs what is missing, builds an optimised zelk and starts it
# ./dev.sh test  installs what is missing, builds with AddressSanitizer and UBSan
#                and runs the whole test suite
# ./dev.sh package  installs what is missing and makes the Debian package of the
#                optimised program: build/package/zelk_<version>_<arch>.deb, and
#                with ../shared/windows the Windows release in build/windows:
#                zelk-<version>-windows-x64.zip and zelk-<version>-setup-x64.exe
# ./dev.sh windows  builds zelk.exe and the Windows release (build/windows);
#                exit code 77 without ../shared/windows
# ./dev.sh tidy [file...]  runs clang-tidy with the project's .clang-tidy over
#                src/ or the named files
set -euo pipefail
cd "$(dirname "$0")"

build_packages=(cmake make g++ pkg-config qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev fonts-liberation2)
test_packages=(xvfb openbox trayer xdotool xclip imagemagick python3 libglib2.0-bin
               fp-utils libchm-bin desktop-file-utils appstream dpkg-dev clang libclang-rt-14-dev
               passwd util-linux mount
               wine wine64 fonts-wine tesseract-ocr
               dbus at-spi2-core python3-gi gir1.2-atspi-2.0
               debootstrap wget xdg-utils clang-format
               weston xwayland qt6-wayland wl-clipboard
               python3-pytest python3-xlib lintian)
package_packages=(fp-utils dpkg-dev)
# The cross build of zelk.exe and its release: icon (icoutils), installer (nsis),
# signing when a certificate is given (osslsigncode).
windows_packages=(g++-mingw-w64-x86-64-posix ninja-build qt6-base-dev-tools fp-utils nsis icoutils osslsigncode)
tidy_packages=(clang-tidy)

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

# zelk.exe and the Windows release (build/windows) for the Wine test, from the
# static Qt for Windows in ../shared/windows, unpacked into build/ once; without
# it the test is skipped.
build_windows() {
    local archive=../shared/windows/qt-6.4.2-mingw64-static.tar.xz qt=${ZELK_WINDOWS_QT:-$PWD/build/qt-6.4.2-mingw64-static}
    # (ZELK_WINDOWS_QT may name one already unpacked elsewhere.)
    if [ -z "${ZELK_WINDOWS_QT:-}" ]; then
        if [ ! -f "$archive" ]; then
            echo "No $archive: zelk.exe is not built and its Wine test is skipped"
            return 77
        fi
        if [ ! -f "$qt.unpacked" ] || [ "$archive" -nt "$qt.unpacked" ]; then
            rm -rf "$qt" && mkdir -p build && tar -xJf "$archive" -C build && touch "$qt.unpacked"
        fi
    fi
    ZELK_WINDOWS_QT=$qt cmake --preset windows
    cmake --build --preset windows -j "$jobs" --target all windows_release
}

# The libFuzzer target (build/fuzz) that the test fuzz_core runs; it needs clang.
build_fuzz() {
    if ! command -v clang++ >/dev/null; then
        echo "No clang++: the fuzz target is not built and fuzz_core is skipped"
        return 0
    fi
    cmake --preset fuzz
    cmake --build --preset fuzz --target fuzz_core -j "$jobs"
}

# Lists the C++ files that differ from what clang-format makes of them.
unformatted() {
    local file
    while IFS= read -r -d '' file; do
        clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || echo "$file"
    done < <(find src tests fuzz packaging \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
}

case "${1:-}" in
run)
    install_missing "${build_packages[@]}"
    cmake --preset release
    cmake --build --preset release -j "$jobs"
    exec build/release/src/app/zelk
    ;;
test)
    install_missing "${build_packages[@]}" "${test_packages[@]}" "${package_packages[@]}" "${tidy_packages[@]}" \
        "${windows_packages[@]}"
    badly_formatted=$(unformatted)
    [ -z "$badly_formatted" ] || printf 'Not formatted as .clang-format says (clang-format -i <file>):\n%s\n' "$badly_formatted"
    cmake --preset sanitize
    cmake --build --preset sanitize -j "$jobs"
    build_fuzz
    # The Windows release and the package are built by the tests that need them first (CTest fixtures).
    status=0
    CMAKE_BUILD_PARALLEL_LEVEL=$jobs ctest --preset sanitize || status=$?
    # clang-tidy over src/ (a few minutes on two cores); every finding fails the run.
    if ! run-clang-tidy -quiet -p build/sanitize -j "$jobs" "^$PWD/src/.*\.cpp$" >build/clang-tidy.log 2>&1; then
        grep -E '(error|warning): ' build/clang-tidy.log | sort -u
        echo "FAILED: clang-tidy has findings in src/ (all of them in build/clang-tidy.log; ./dev.sh tidy <file>)"
        status=1
    fi
    if [ -n "$badly_formatted" ]; then
        printf 'FAILED: these files are not formatted as .clang-format says (clang-format -i <file>):\n%s\n' \
            "$badly_formatted"
        status=1
    fi
    exit $status
    ;;
tidy)
    install_missing "${build_packages[@]}" "${tidy_packages[@]}"
    # The compiler calls, and the generated version header, come from
    # configuring the sanitize build; nothing has to be compiled.
    cmake --preset sanitize >/dev/null
    # Named files only, when given: a whole run takes minutes on two cores.
    if [ $# -gt 1 ]; then
        shift
        clang-tidy --quiet -p build/sanitize "$@"
    else
        run-clang-tidy -quiet -p build/sanitize -j "$jobs" "^$PWD/src/.*\.cpp$"
    fi
    ;;
package)
    install_missing "${build_packages[@]}" "${package_packages[@]}"
    CMAKE_BUILD_PARALLEL_LEVEL=$jobs cmake --workflow --preset package
    if [ -d ../shared/windows ]; then
        install_missing "${windows_packages[@]}"
        build_windows || [ $? = 77 ]
    fi
    ;;
windows)
    build_windows
    ;;
*)
    echo "usage: $0 run|test|package|windows|tidy" >&2
    exit 2
    ;;
esac
