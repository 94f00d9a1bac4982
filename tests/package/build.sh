#!/usr/bin/env bash
# Makes the release package the way the README tells users to, so that the
# package tests check what users get: build/package/zelk_<version>_<arch>.deb.
# Usage: build.sh <source folder>
set -eu
cd "$1"
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc 2>/dev/null || echo 2)}
rm -f build/package/zelk_*.deb
cmake --workflow --preset package
